#include "CConsoleWriter.h"

#include <algorithm>

CConsoleWriter::CConsoleWriter(FILE* out, FILE* err, bool terminal, int width)
    : m_out(out), m_err(err), m_terminal(terminal), m_width(std::max(width, 20))
{
}

void CConsoleWriter::write(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void CConsoleWriter::clearBar()
{
    if (!m_barShown)
        return;
    write(m_out, QStringLiteral("\r\x1b[K"));
    m_barShown = false;
}

void CConsoleWriter::line(const QString& text)
{
    std::lock_guard lock(m_lock);
    clearBar();
    write(m_out, text + QLatin1Char('\n'));
}

void CConsoleWriter::errorLine(const QString& text)
{
    std::lock_guard lock(m_lock);
    clearBar();
    write(m_err, text + QLatin1Char('\n'));
}

void CConsoleWriter::progress(const QString& name, int percent)
{
    std::lock_guard lock(m_lock);
    percent = std::clamp(percent, 0, 100);
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    if (!m_terminal) {
        write(m_out, QStringLiteral("%1: %2%\n").arg(name).arg(percent));
        return;
    }
    // " 45% [#####.....] name", the name cut to what is left of the line.
    const int barWidth = std::min(40, m_width / 3);
    const int filled = barWidth * percent / 100;
    QString bar = QStringLiteral("%1% [").arg(percent, 3) + QString(filled, QLatin1Char('#')) +
                  QString(barWidth - filled, QLatin1Char('.')) + QStringLiteral("] ");
    const int room = std::max(0, m_width - 1 - int(bar.size()));
    bar += name.size() > room ? name.left(std::max(0, room - 3)) + QStringLiteral("...") : name;
    write(m_out, QStringLiteral("\r\x1b[K") + bar);
    m_barShown = true;
}

void CConsoleWriter::endProgress()
{
    std::lock_guard lock(m_lock);
    clearBar();
    m_lastPercent = -1;
}
