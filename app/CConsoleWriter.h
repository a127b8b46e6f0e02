#pragma once

#include <QString>
#include <cstdio>
#include <map>
#include <mutex>

// The terminal program's output. On a terminal one progress line is kept at the bottom and
// redrawn in place, showing every row that converts; elsewhere (a file, a pipe) progress is
// written as plain lines. Threads: any (the batch workers and the main thread); one lock keeps
// every line whole.
class CConsoleWriter
{
public:
    // `terminal`: draw a bar `width` characters wide instead of progress lines.
    CConsoleWriter(FILE* out, FILE* err, bool terminal, int width);

    // Writes `text` and a line end to standard output.
    void line(const QString& text);
    // Writes `text` and a line end to standard error.
    void errorLine(const QString& text);
    // Shows `percent` and `detail` (the pace) for row `row` called `name`: redraws the bar
    // line, or writes "name: N%  detail" when that row's N changed.
    void progress(int row, const QString& name, int percent, const QString& detail = {});
    // Takes row `row` off the bar line and forgets its last percentage.
    void endProgress(int row);

private:
    struct Shown
    {
        QString name;
        int percent = -1;
        QString detail;
    };

    void clearBar();
    void drawBar();
    void write(FILE* stream, const QString& text);

    std::mutex m_lock;
    FILE* m_out;
    FILE* m_err;
    bool m_terminal;
    int m_width;
    bool m_barShown = false;
    std::map<int, Shown> m_shown; // rows with progress, by row
};
