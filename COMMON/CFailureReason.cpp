#include "CFailureReason.h"

#include <QRegularExpression>

namespace {

constexpr int kKeptLines = 16;
constexpr int kMaxReasonLength = 240;

// Lines that only say that something failed, not what: a line before them says more.
bool isGeneric(const QString& line)
{
    static const char* const kGeneric[] = {
        "Conversion failed",         "Error opening output files",
        "Error parsing options for", "the conversion did not finish",
        "Exiting normally",
    };
    for (const char* generic : kGeneric)
        if (line.startsWith(QLatin1String(generic)))
            return true;
    // The tool's account of a conversion cut into segments: which ran, which were kept.
    static const QRegularExpression account(
        QStringLiteral("^(not cut into segments: |(segment \\d+ of \\d+|the other streams|the "
                       "join)(: | kept from an earlier run))"));
    return line.isEmpty() || account.match(line).hasMatch();
}

} // namespace

void CFailureReason::note(const QByteArray& line)
{
    const QString text = QString::fromLocal8Bit(line).trimmed();
    if (text.isEmpty())
        return;
    m_lines << text;
    if (m_lines.size() > kKeptLines)
        m_lines.removeFirst();
}

QString CFailureReason::cleaned(const QString& line)
{
    QString text = line;
    // One line: a carriage return or tab the tool left inside is a blank here.
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    text = text.trimmed();
    // "[mp4 @ 0x55d0c1a2b340] " names FFmpeg's component and an address: noise to a user.
    static const QRegularExpression component(QStringLiteral("^\\[[^\\]]* @ 0x[0-9a-fA-F]+\\] "));
    text.remove(component);
    if (text.startsWith(QLatin1String("encode: ")))
        text = text.mid(8);
    const qsizetype removed = text.indexOf(QLatin1String("; removed the output "));
    if (removed > 0)
        text.truncate(removed);
    if (text.size() > kMaxReasonLength)
        text = text.left(kMaxReasonLength - 3) + QStringLiteral("...");
    return text;
}

QString CFailureReason::reason() const
{
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) {
        const QString text = cleaned(m_lines[i]);
        if (!isGeneric(text))
            return text;
    }
    return m_lines.isEmpty() ? QString() : cleaned(m_lines.last());
}
