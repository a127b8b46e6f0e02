#pragma once

#include "EncoderCommand.h"

#include <QByteArray>
#include <atomic>
#include <functional>

class CMediaEncoder;
class CTraceLog;
class EventLog;
class LineSplitter;
class QProcess;

// Runs the encoder tool for one conversion at a time: standard output and error merged into
// one pipe read line by line, standard input a pipe for the stop request.
// Threads: Run blocks the batch worker and owns the process; RequestStop may come from any
// thread and only raises an atomic flag that the read loop checks between short waits.
class CEncoderProcess
{
public:
    static constexpr int kDefaultStopGraceMs = 10000;
    static constexpr int kStartFailedCode = 2;

    // How the last run's tool ended.
    struct End
    {
        bool stopped = false; // a stop request reached it (or came before it could start)
        bool crashed = false; // it died on a signal or a crash, not by exiting
        int exitCode = 0;     // its exit code when it exited; the system's code when it crashed
    };

    // Starts `command` and reads its output to the end, handing events to `sink` (with
    // `userValue`), the command and every line to `trace` and a read failure to `events`
    // (either may be null). Returns once the tool has ended; false when it did not start.
    // A stop requested before the start is not started at all: true, with lastEnd().stopped.
    bool Run(const EncoderCommand& command, CMediaEncoder* sink, int userValue, CTraceLog* trace,
             EventLog* events);

    // Asks the running tool to finish: the read loop writes the stop request
    // (EncoderToolContract::kStopRequest), and ends the tool if it has not exited within the
    // grace period. Any thread.
    void RequestStop() { m_stopRequested.store(true); }
    // Forgets a stop request left from before. A request stays across runs until this is called
    // (when a batch starts), so that one made while a run is being prepared is not lost.
    void ClearStopRequest() { m_stopRequested.store(false); }
    // How the tool of the last Run ended. Worker thread, after Run.
    const End& lastEnd() const { return m_end; }

    // Grace period between the "q" request and ending the tool by force.
    void setStopGrace(int ms) { m_stopGraceMs = ms; }

private:
    // Reads the tool's output into `lines` until it ends; once a stop is requested it sends the
    // stop request (then `stopSent`) and kills a tool still running after the grace time. True
    // when the request was sent.
    bool ReadUntilEnd(QProcess& tool, LineSplitter& lines,
                      const std::function<void(const QByteArray&)>& deliver,
                      const std::function<void()>& stopSent);

    std::atomic<bool> m_stopRequested{false};
    int m_stopGraceMs = kDefaultStopGraceMs;
    End m_end; // worker thread
};
