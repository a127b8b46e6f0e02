#pragma once

#include "CEventReporter.h"
#include "CMediaEncoder.h"
#include "ConversionJob.h"
#include "EncSession.h"
#include "EncoderSetup.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CTraceLog;
class QLibrary;

// The encoder for RealMedia profiles: loads the producer library from the application's
// "tools" folder and drives one of its encoding jobs per conversion, turning the job's events
// into progress.
// Threads: Attach, Setup and Run on the batch worker (Run blocks while the library encodes on
// its own thread, which calls the progress callback); Stop from the UI thread starts a short
// idle-priority thread that unregisters the listener and cancels the job. The job and the
// listener are guarded by m_lock; the destructor waits for every stop thread.
class CRmProducerEncoder : public CMediaEncoder
{
public:
    CRmProducerEncoder();
    ~CRmProducerEncoder() override;
    CRmProducerEncoder(const CRmProducerEncoder&) = delete;
    CRmProducerEncoder& operator=(const CRmProducerEncoder&) = delete;

    // Stores callback, context, folder and trace, then loads the library; 1 when it loaded.
    int Attach(const EncoderSetup* setup) override;
    // Copies the job, makes the library's job with its listener and directs the library's
    // log into trace.log; 1 when both worked.
    int Setup(const ConversionJob* job) override;
    // Configures and runs the job made by Setup to its end; 1 when every step succeeded.
    int Run(const QString& outputPath, int reservedValue) override;
    // Returns at once; a thread of its own unregisters the listener and cancels the job. A stop
    // that comes before the job runs keeps it from running (until ClearStop). 0 when no thread
    // could be started to cancel a job under way (the event log says why).
    int Stop() override;
    void ClearStop() override { m_stopRequested.store(false); }
    RunOutcome Outcome() const override { return m_outcome; }
    // The producer cannot probe: kCannotProbe, the job untouched.
    int Probe(const QString& path, ConversionJob* job) override;
    // Runner events do not concern the producer: 1.
    int Event(int code, qint64 value, const QByteArray& text, int userValue) override;

    // Index of the audience `name` in the producer's list: exact, case-sensitive, else 0.
    static int audienceIndex(const QByteArray& name);

private:
    ESResult Load();
    ESResult configureAndStart();
    ESResult addPrefilters(IESInput* input);
    ESResult addAudience(IESOutputProfile* output);
    ESResult makeBag(std::initializer_list<std::pair<const char*, QByteArray>> texts,
                     ESRef<IESPropertyBag>& bag);
    // Unregisters and releases the listener, if this call is the one that takes it.
    void dropListener();
    // Unregisters `listener` (when not null) from `job` and drops its reference.
    static void unregister(IESJob* job, IESListener* listener);
    QByteArray folderEntry(const char* name) const;
    // The event for an exception being handled, with its text.
    void reportException(int eventLine, const char* operation);
    // The event for an exception that said `what`.
    void reportException(int eventLine, const char* operation, const char* what);
    // Setup or Run (`operation`) raised `what`: its event, and the reason `failed`: `what`.
    // Returns the failed result, 0.
    int failOnException(int eventLine, const char* operation, const char* failed, const char* what);

    ProgressCallback m_callback;
    void* m_context = nullptr;
    QString m_appFolder;
    QString m_writeFolder; // of the library's log, the program's trace.log
    CTraceLog* m_trace = nullptr;
    CEventReporter m_events{nullptr};
    QByteArray m_accessPaths; // the block handed to SetDLLAccessPath
    ConversionJob m_job;      // the copy Setup takes (without the profile)

    std::unique_ptr<QLibrary> m_library;
    ESRef<IESJobFactory> m_factory;
    ESRef<IESLogSystem> m_logSystem;
    ESRef<IESLogWriter> m_logWriter;

    std::atomic<bool> m_stopRequested{false};
    RunOutcome m_outcome; // worker thread

    std::mutex m_lock; // guards the three below against Stop
    ESRef<IESJob> m_sdkJob;
    IESListener* m_listener = nullptr; // holds the one reference Setup took
    std::vector<std::thread> m_stopThreads;
};
