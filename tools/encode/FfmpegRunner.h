#pragma once

#include "LineSplitter.h"
#include "ProgressLineWriter.h"

#include <QByteArray>
#include <QEventLoop>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <utility>

class ChildLifetime;
class StdinWatcher;

// Runs ffmpeg with an argument list (no shell) and passes on what matters: each progress
// block becomes one progress line on standard output, each warning or error line of ffmpeg
// goes to standard error unchanged. A stop request makes ffmpeg finish its file ("q" on its
// input); should it not end, it is asked to terminate, and at last killed. ffmpeg never
// outlives this tool.
// A provisional run starts ffmpeg before its arguments are settled and holds back what it
// prints until they are (confirm, restart or abandon).
// Lives on the main thread; the watcher's flag is the only thing shared with another thread.
class FfmpegRunner : public QObject
{
    Q_OBJECT
public:
    // Time ffmpeg gets to finish its file after "q" before it is asked to terminate, and again
    // before it is killed: together well inside the 10 s after which the converter kills this
    // tool, so that it is this tool that ends ffmpeg.
    static constexpr int kStopGraceMs = 3000;

    FfmpegRunner(StdinWatcher& watcher, ChildLifetime& lifetime, QObject* parent = nullptr);

    // The arguments every run gets ahead of the translated ones: quiet log, progress blocks
    // on ffmpeg's standard output.
    static QStringList controlArguments();

    // Runs `program` with `arguments` until it ends (and, when `provisional`, until the
    // arguments are settled); returns its exit code (1 when it could not start, crashed or was
    // abandoned).
    int run(const QString& program, const QStringList& arguments, bool provisional = false);

    // The provisional arguments stand: what was held back is passed on.
    void confirm();
    // The provisional run ends unheard and ffmpeg starts again with `arguments`. After a stop
    // request the first run stands instead.
    void restart(const QStringList& arguments);
    // The provisional run ends unheard and the run fails.
    void abandon();

    // A run that is one part of a conversion reports its times as `offset` + time * `factor`,
    // so that the converter's progress runs once over all the parts.
    void setTimeShare(double offset, double factor)
    {
        m_timeOffset = offset;
        m_timeFactor = factor;
    }

    // True once a stop request was passed to ffmpeg.
    bool stopped() const { return m_stopSent; }

private:
    bool start(const QStringList& arguments);
    void endUnheard();
    void readProgress();
    void readLog();
    void pollStop();
    void finishLines();
    void passOut(const QByteArray& bytes);
    void passLog(const QByteArray& line);
    QByteArray progressLine() const;

    StdinWatcher& m_watcher;
    QProcess m_process;
    QTimer m_poll;
    QEventLoop m_loop;
    QString m_program;
    ProgressLineWriter m_progress;
    LineSplitter m_progressLines;              // ffmpeg's progress blocks on standard output
    LineSplitter m_logLines;                   // its warnings and errors on standard error
    QList<std::pair<bool, QByteArray>> m_held; // (is progress, bytes) while unsettled
    bool m_settled = true;
    bool m_abandoned = false;
    bool m_sawBlock = false;
    bool m_stopSent = false;
    int m_stopTicks = 0;
    double m_timeOffset = 0;
    double m_timeFactor = 1;
};
