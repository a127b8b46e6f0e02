#pragma once

#include "CEventReporter.h"
#include "CMediaEncoder.h"
#include "EncoderKind.h"

#include <QString>
#include <functional>
#include <memory>
#include <mutex>

struct ConversionJob;
struct EncoderSetup;

// The one object through which the main window drives encoding: it owns the current encoder
// (FFmpeg tool or RealMedia producer), probes files, converts one job at a time and stops it.
// Threads: Init and Stop run on the UI thread; SwitchEncoder and bDoConvert on the batch
// worker; RestoreEncoder on the worker during a batch and on the UI thread between batches.
// bGetMediaFileContent runs where files are admitted, never beside a batch on the same
// controller: the window's admission worker has a controller of its own, made and used on that
// worker alone; the terminal program probes on its main thread before its batch. The encoder
// slots are guarded so that Stop may race a switch; while a batch runs the worker alone
// replaces them.
class CQuentaMediaCntl
{
public:
    // Makes a fresh encoder of a kind; null for none.
    using EncoderFactory = std::function<std::unique_ptr<CMediaEncoder>(EncoderKind kind)>;

    // `factory` defaults to CreateMediaEncoder; tests hand in their own.
    explicit CQuentaMediaCntl(EncoderFactory factory = {});
    virtual ~CQuentaMediaCntl();
    CQuentaMediaCntl(const CQuentaMediaCntl&) = delete;
    CQuentaMediaCntl& operator=(const CQuentaMediaCntl&) = delete;

    // Start-up: with the FFmpeg tool kind creates its encoder and returns its Attach result;
    // else 0.
    int Init(const EncoderSetup* setup);
    // What the exception that failed the last Init said; empty when none did.
    QString initProblem() const { return m_initProblem; }
    // Probes `path` into `job` with the current encoder, or with the one put aside when the
    // current one cannot probe: 1 when the file yielded something usable (the job's MediaInfo
    // is filled), 0 when it did not or for an empty path, no job or no encoder that can probe.
    int bGetMediaFileContent(const QString& path, ConversionJob* job);
    // Puts the current encoder aside and makes a new one of setup->kind current; returns the
    // new encoder's Attach result, 0 for an unknown kind or when no encoder is current.
    int SwitchEncoder(const EncoderSetup* setup);
    // Destroys the current encoder and brings the saved one back; 0 when there was none.
    int RestoreEncoder();
    // Sets up and runs the conversion of `job` with the current encoder; blocks until it ends.
    // 1 when the encoder ran the job, to its end or until stopped, without a failure of its own;
    // 0 when it could not be set up, started or read, or its tool died or exited with a failure
    // (unless stopped). A 1 promises no output file: the caller checks it. job->outcome says
    // whether it was stopped and why it failed; on a 0 the output file the run wrote is removed.
    int bDoConvert(ConversionJob* job);
    // Asks the running conversion to end; one asked before the conversion starts ends it as soon
    // as it does (until ClearStop). UI thread. 0 when the request could not be passed on (the
    // event log says why), else 1.
    int Stop();
    // Forgets a stop request left in the encoders; the batch calls it when it starts.
    void ClearStop();

    // The current encoder's kind; meaningful only while an encoder is current.
    EncoderKind currentKind() const;
    // True while an encoder is current.
    bool hasEncoder() const;

private:
    // The event for an exception being handled, with its text; returns the text.
    QByteArray reportException(int eventLine, const char* operation);
    // Fails `job`, whose conversion raised `what`: two events, the second its text, and the
    // text in the job's reason. Returns the failed result, 0.
    int failOnException(ConversionJob& job, const char* what);

    EncoderFactory m_factory;
    CEventReporter m_events{nullptr};
    QString m_initProblem;         // UI thread
    mutable std::mutex m_slotLock; // guards the four slots below against Stop
    std::unique_ptr<CMediaEncoder> m_current;
    std::unique_ptr<CMediaEncoder> m_saved;
    EncoderKind m_currentKind = EncoderKind::FfmpegTool;
    EncoderKind m_savedKind = EncoderKind::FfmpegTool;
};
