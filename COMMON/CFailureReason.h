#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Picks, from what the encoder tool printed besides its progress, the line that says why a
// conversion failed ("Invalid frame size: abc", "No space left on device"), so that the user
// sees it without opening the trace. Threads: the batch worker that reads the tool.
class CFailureReason
{
public:
    // Forgets the lines of an earlier conversion.
    void clear() { m_lines.clear(); }
    // Keeps `line`, one the tool printed that is not a progress report.
    void note(const QByteArray& line);
    // The most telling line kept, cleaned to one short line; empty when none was kept.
    QString reason() const;

    // `line` without the tool's and FFmpeg's prefixes and the note about a removed output.
    static QString cleaned(const QString& line);

private:
    QStringList m_lines; // the last few, oldest first
};
