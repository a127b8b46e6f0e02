#pragma once

#include <QMutex>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>

class BatchRows;
class BatchUser;
class CQuentaMediaCntl;
struct ConversionJob;
struct EncoderSetup;

// The row being converted; written by the batch worker before each row, read by OnProgress.
extern std::atomic<int> g_nCurItem;

// The batch conversion: walks the rows from top to bottom on one worker thread at idle
// priority and converts every checked row through the controller, judging each result.
// It knows neither window nor terminal: rows and user come through BatchRows and BatchUser.
// Threads: StartConvert, StopConvert and the queries run on the UI thread; ConvertBatch runs
// on the worker, which owns the rows' jobs, the engine switches and the output folder while a
// batch runs. Shared values are single atomics; no lock is held across a conversion.
class CBatchConverter
{
public:
    enum StartResult
    {
        NoRows,      // the list is empty: nothing happened
        NoneChecked, // "There is no selected file in list! " was shown
        Started,     // the worker runs
        Busy         // a batch is still running: nothing happened
    };
    enum State
    {
        Idle = 0,
        Converting = 1,
        Finished = 4
    };

    // Takes the engine's progress callback and context in `setup`, so construct the batch
    // before the controller's Init. Nothing is owned; all must outlive the batch.
    CBatchConverter(CQuentaMediaCntl& controller, EncoderSetup& setup, BatchRows& rows,
                    BatchUser& user);
    // Waits for a running worker to end.
    ~CBatchConverter();
    CBatchConverter(const CBatchConverter&) = delete;
    CBatchConverter& operator=(const CBatchConverter&) = delete;

    // Encode: starts the worker at the first checked row, or tells the user none is checked.
    StartResult StartConvert();
    // Stop: while converting, asks the user first; on Yes (or with no batch running) asks
    // the running conversion to end, and the next checked row is then marked "Abort".
    void StopConvert();
    // Asks the running conversion to end without asking the user (the program is ending).
    void RequestStop();
    // True while a worker runs (from StartConvert until its last step).
    bool IsRunning() const { return m_running.load(); }
    // Waits until the worker has ended; returns at once when none runs.
    void Wait();

    // The engine's progress callback: moves the progress bar of row g_nCurItem.
    static void OnProgress(int percent, void* context);

    // Idle, Converting or Finished.
    int ConvState() const { return m_convState.load(); }
    // After a batch: a row failed (conversion, result file, output path).
    bool FailureSeen() const { return m_failureSeen.load() != 0; }
    // After a batch: the user asked it to stop.
    bool StopRequested() const { return m_stopRequested.load() != 0; }
    // After a batch: the engine could not be switched and the batch ended at once.
    bool EngineFailed() const { return m_engineFailed.load() != 0; }
    // The output folder of the current or last batch.
    QString OutputFolder() const;

    // Replaces the power-off at the end of a batch (tests); runs on the worker.
    void setShutdown(std::function<void()> shutdown) { m_shutdown = std::move(shutdown); }

private:
    void ConvertBatch();
    // Converts row `row`; false when the batch must end (failure or engine trouble).
    bool ConvertRow(int row, const QString& folder);
    bool SwitchEngineFor(const ConversionJob& job);
    void FailRow(int row, const QString& text);
    QString FailureText() const;

    CQuentaMediaCntl& m_controller;
    EncoderSetup& m_setup; // kind is switched by the worker between rows
    BatchRows& m_rows;
    BatchUser& m_user;
    std::function<void()> m_shutdown;

    std::thread m_worker;
    std::atomic<bool> m_running{false};
    std::atomic<int> m_convState{Idle};
    std::atomic<int> m_stopRequested{0};
    std::atomic<int> m_failureSeen{0};
    std::atomic<int> m_engineFailed{0};
    mutable QMutex m_folderLock;
    QString m_outputFolder;
};
