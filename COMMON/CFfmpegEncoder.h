#pragma once

#include "CEncoderProcess.h"
#include "CEventReporter.h"
#include "CFailureReason.h"
#include "CMediaEncoder.h"
#include "EncoderCommand.h"
#include "EncoderSetup.h"

#include <QString>
#include <atomic>
#include <exception>

class CTraceLog;

// The encoder for every format but RealMedia: probes files, builds the tool's command line
// and runs the external encoder tool, turning its "time=" lines into progress.
// Threads: Attach/Probe on the thread that admits files (an encoder the window's admission
// worker made for itself), Setup/Run/Event on the batch worker; Stop from the UI thread only
// raises the runner's atomic stop request.
class CFfmpegEncoder : public CMediaEncoder
{
public:
    CFfmpegEncoder() = default;
    ~CFfmpegEncoder() override = default;

    int Attach(const EncoderSetup* setup) override;
    int Setup(const ConversionJob* job) override;
    int Run(const QString& outputPath, int reservedValue) override;
    int Stop() override;
    void ClearStop() override;
    RunOutcome Outcome() const override { return m_outcome; }
    int Probe(const QString& path, ConversionJob* job) override;
    int Event(int code, qint64 value, const QByteArray& text, int userValue) override;

    // The command built by the last Setup (empty before one).
    const EncoderCommand& command() const { return m_command; }
    // Milliseconds a stopped tool may take to finish its file before it is ended (10 s).
    void setStopGrace(int ms) { m_runner.setStopGrace(ms); }
    // Limits of the information-mode probe: for the reply, then for the tool to exit.
    void setInformationLimits(int replyMs, int exitMs);

private:
    void handleLine(const QByteArray& line);
    void reportLine(const QByteArray& line);
    // The set-up raised `what`: its event and reason; returns the failed result, 0.
    int failSetup(const char* what);
    // Handling `line` raised `what`: the run fails with it.
    void failLine(const QByteArray& line, const char* what);
    // An exception a probe step raised goes to the event log; the probe goes on without it.
    void reportProbeException(const QString& path, std::exception_ptr raised);
    // Why the tool's run failed, from how it ended and what it printed; empty when it did not.
    QString failureOf(const CEncoderProcess::End& end) const;

    ProgressCallback m_callback;
    ProgressTimeCallback m_timeCallback;
    void* m_context = nullptr;
    int m_reserved = 0;
    QString m_appFolder;
    QString m_writeFolder; // of the script fallback
    QString m_scriptName;
    CTraceLog* m_trace = nullptr;
    CEventReporter m_events{nullptr};

    // Run state, set up per conversion on the worker.
    EncoderCommand m_command;
    double m_progressDuration = 0;
    std::atomic<int> m_errorFlag{0};
    QString m_lineFailure; // what handling a line raised
    CEncoderProcess m_runner;
    CFailureReason m_lines; // what the tool said besides progress
    RunOutcome m_outcome;
    int m_infoReplyMs = 30000;
    int m_infoExitMs = 5000;
    const std::atomic<bool>* m_probeCancel = nullptr; // EncoderSetup::probeCancel
};
