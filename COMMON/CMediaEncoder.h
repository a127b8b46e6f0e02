#pragma once

#include "RunOutcome.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct ConversionJob;
struct EncoderSetup;

// An encoder behind the conversion controller: the FFmpeg tool or the RealMedia producer.
// Threads: Probe runs on the thread that admits files (the window's admission worker, with an
// encoder of its own), Setup and Run on the batch worker; Attach on the thread that makes the
// encoder current (the UI thread at start-up, the worker through SwitchEncoder). Stop comes from
// the UI thread while Run is blocked and must be safe against it. Results are 1 for success, 0 for
// failure; no exception leaves an encoder.
class CMediaEncoder
{
public:
    // Codes of the events the process runner hands to its sink.
    enum EventCode
    {
        StopRequested = 996, // value 0
        ToolStarted = 997,   // value: the process id
        LineComplete = 998,  // text: one output line, without its line end
        RunOver = 999        // value: the error code (0 for a normal end); not sent after a stop
    };

    virtual ~CMediaEncoder() = default;

    // Stores callback, context, reserved value, folder and logs; 0 when setup or callback is
    // missing.
    virtual int Attach(const EncoderSetup* setup) = 0;
    // Copies what the run needs from `job` and prepares it (the command line); 1 when ready.
    virtual int Setup(const ConversionJob* job) = 0;
    // Runs the conversion prepared by Setup to its end; 1 when it ran to its end or was stopped,
    // 0 when it could not run or failed (Outcome says why).
    virtual int Run(const QString& outputPath, int reservedValue) = 0;
    // Asks a running conversion to finish early. A request that comes before the conversion
    // starts ends it as soon as it does: it stays until ClearStop. Any thread.
    virtual int Stop() = 0;
    // Forgets a stop request left from before; the batch calls it when it starts, never between
    // rows, so that a Stop that comes while a row is being set up is not lost.
    virtual void ClearStop() {}
    // How the last Run ended: stopped, or why it failed (a reason may be empty).
    virtual RunOutcome Outcome() const { return RunOutcome{}; }
    // What Probe answers when this encoder cannot probe at all (the job is untouched).
    static constexpr int kCannotProbe = -1;
    // Learns the MediaInfo of `path` into `job`; 1 when something usable was learned, 0 when
    // nothing was, kCannotProbe when this encoder cannot tell.
    virtual int Probe(const QString& path, ConversionJob* job) = 0;
    // Receives one event of the process runner; 1 while no line handling has failed.
    virtual int Event(int code, qint64 value, const QByteArray& text, int userValue) = 0;
};
