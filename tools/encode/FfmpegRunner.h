#pragma once

#include "ProgressLineWriter.h"

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

class StdinWatcher;

// Runs ffmpeg with an argument list (no shell) and passes on what matters: each progress
// block becomes one progress line on standard output, each warning or error line of ffmpeg
// goes to standard error unchanged. A stop request makes ffmpeg finish its file ("q" on its
// input); should it not end, it is asked to terminate, and at last killed.
// Lives on the main thread; the watcher's flag is the only thing shared with another thread.
class FfmpegRunner : public QObject
{
    Q_OBJECT
public:
    // Seconds ffmpeg gets to finish its file after "q" before it is asked to terminate.
    static constexpr int kStopGraceSeconds = 10;

    explicit FfmpegRunner(StdinWatcher& watcher, QObject* parent = nullptr);

    // The arguments every run gets ahead of the translated ones: quiet log, progress blocks
    // on ffmpeg's standard output.
    static QStringList controlArguments();

    // Runs `program` with `arguments` until it ends; returns its exit code (1 when it could
    // not start or crashed).
    int run(const QString& program, const QStringList& arguments);

private:
    void readProgress();
    void readLog();
    void pollStop();
    void finishLines();

    StdinWatcher& m_watcher;
    QProcess m_process;
    QTimer m_poll;
    ProgressLineWriter m_progress;
    QByteArray m_progressPending;
    QByteArray m_logPending;
    bool m_sawBlock = false;
    bool m_stopSent = false;
    int m_stopTicks = 0;
};
