#pragma once

#include <QString>
#include <cstdio>
#include <mutex>

// The terminal program's output. On a terminal one progress bar line is kept at the bottom and
// redrawn in place; elsewhere (a file, a pipe) progress is written as plain lines.
// Threads: any (the batch worker and the main thread); one lock keeps every line whole.
class CConsoleWriter
{
public:
    // `terminal`: draw a bar `width` characters wide instead of progress lines.
    CConsoleWriter(FILE* out, FILE* err, bool terminal, int width);

    // Writes `text` and a line end to standard output.
    void line(const QString& text);
    // Writes `text` and a line end to standard error.
    void errorLine(const QString& text);
    // Shows `percent` for `name`: redraws the bar, or writes "name: N%" when N changed.
    void progress(const QString& name, int percent);
    // Removes the bar (a terminal) and forgets the last percentage written.
    void endProgress();

private:
    void clearBar();
    void write(FILE* stream, const QString& text);

    std::mutex m_lock;
    FILE* m_out;
    FILE* m_err;
    bool m_terminal;
    int m_width;
    bool m_barShown = false;
    int m_lastPercent = -1;
};
