#pragma once

#include <QByteArray>
#include <cstdint>

// Turns ffmpeg's machine-readable progress blocks ("key=value" lines ending with
// "progress=continue" or "progress=end") into the old tool's progress lines, where exactly
// EncoderToolContract::kWordsBeforeTime words stand before "time=": every key is followed by a
// blank and a value that never holds a blank, so large numbers cannot change the word count.
class ProgressLineWriter
{
public:
    struct Figures
    {
        int64_t frame = 0;
        double fps = 0;
        double quality = 0;
        int64_t sizeBytes = 0;
        double seconds = 0;
        double kbitsPerSecond = 0;
    };

    // One progress line, ended by a line feed.
    static QByteArray format(const Figures& figures);

    // Takes one line of ffmpeg's progress output (without its line end). Returns true when
    // it closed a block; line() then holds the progress line for it.
    bool feed(const QByteArray& line);
    QByteArray line() const { return m_line; }
    // The figures of the last block closed.
    const Figures& figures() const { return m_figures; }
    // True once the block that ends the run ("progress=end") was seen.
    bool ended() const { return m_ended; }

private:
    Figures m_figures;
    QByteArray m_line;
    bool m_ended = false;
};
