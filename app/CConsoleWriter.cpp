#include "CConsoleWriter.h"

#include <QStringList>
#include <algorithm>

namespace {

// `text` cut to `room` characters, an ellipsis marking the cut.
QString fitted(const QString& text, int room)
{
    if (text.size() <= room)
        return text;
    return text.left(std::max(0, room - 3)) + QStringLiteral("...");
}

} // namespace

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

void CConsoleWriter::progress(int row, const QString& name, int percent, const QString& detail)
{
    std::lock_guard lock(m_lock);
    percent = std::clamp(percent, 0, 100);
    Shown& shown = m_shown[row];
    const bool changed = percent != shown.percent;
    shown.name = name;
    shown.percent = percent;
    shown.detail = detail;
    if (!m_terminal) {
        if (changed)
            write(m_out, QStringLiteral("%1: %2%").arg(name).arg(percent) +
                             (detail.isEmpty() ? QString() : QStringLiteral("  ") + detail) +
                             QLatin1Char('\n'));
        return;
    }
    drawBar();
}

void CConsoleWriter::drawBar()
{
    const int room = m_width - 1;
    QString text;
    if (m_shown.size() == 1) {
        // " 45% [#####.....] 1.8×, 00:00:12 left  name", the name cut to what is left.
        const Shown& shown = m_shown.begin()->second;
        const int barWidth = std::min(40, m_width / 3);
        const int filled = barWidth * shown.percent / 100;
        text = QStringLiteral("%1% [").arg(shown.percent, 3) + QString(filled, QLatin1Char('#')) +
               QString(barWidth - filled, QLatin1Char('.')) + QStringLiteral("] ");
        if (!shown.detail.isEmpty())
            text += shown.detail + QStringLiteral("  ");
        text += fitted(shown.name, std::max(0, room - int(text.size())));
    } else {
        // Rows converting at once side by side: " 45% name 1.8× | 12% name 2.0×".
        const int each = room / int(m_shown.size()) - 3;
        QStringList parts;
        for (const auto& [row, shown] : m_shown) {
            const QString speed = shown.detail.section(QLatin1Char(','), 0, 0);
            const QString head = QStringLiteral("%1% ").arg(shown.percent, 3);
            const int nameRoom = std::max(4, each - int(head.size() + speed.size()) - 1);
            parts << fitted(head + fitted(shown.name, nameRoom) + QLatin1Char(' ') + speed, each);
        }
        text = parts.join(QStringLiteral(" | "));
    }
    write(m_out, QStringLiteral("\r\x1b[K") + text);
    m_barShown = true;
}

void CConsoleWriter::endProgress(int row)
{
    std::lock_guard lock(m_lock);
    if (m_shown.erase(row) == 0)
        return;
    clearBar();
    if (m_terminal && !m_shown.empty())
        drawBar();
}
