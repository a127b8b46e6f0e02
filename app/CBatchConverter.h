#pragma once

#include "CQuentaMediaCntl.h"
#include "OutputNamePattern.h"

#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class BatchRows;
class BatchUser;
struct ConversionJob;
struct EncoderSetup;

// The batch conversion: walks the rows from top to bottom on one worker thread at idle
// priority and converts every checked row through the controller, judging each result.
// With more than one job, further workers (one per engine of their own) take rows from the
// same walk, so that up to that many rows convert at once.
// It knows neither window nor terminal: rows and user come through BatchRows and BatchUser.
// Threads: StartConvert, StopConvert, the settings and the queries run on the UI thread;
// before the worker starts, StartConvert writes the editor back and reads the output box
// there, and hands the text to the worker. ConvertBatch runs on the worker, which owns the
// rows' jobs, the engine switches and the output folder while a batch runs. Shared values are
// single atomics; the walk and the output names being written are guarded; no lock is held
// across a conversion.
class CBatchConverter
{
public:
    enum StartResult
    {
        NoRows,      // the list is empty: "There is no selected file in list! " was shown
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

    // Takes the engine's progress callbacks and context in `setup`, so construct the batch
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
    // every running conversion to end: each row cut short and the next checked row are then
    // marked "Abort". A stop asked at any moment after Encode reaches the row being started.
    void StopConvert();
    // Asks the running conversion to end without asking the user (the program is ending).
    void RequestStop();
    // True while a worker runs (from StartConvert until its last step).
    bool IsRunning() const { return m_running.load(); }
    // Waits until the worker has ended; returns at once when none runs.
    void Wait();

    // The engine's progress callback: moves the progress bar of the engine's current row.
    static void OnProgress(int percent, void* context);
    // The engine's time callback: the row's speed and time left (BatchRows::updateTiming).
    static void OnProgressTime(double seconds, void* context);

    // Idle, Converting or Finished.
    int ConvState() const { return m_convState.load(); }
    // After a batch: a row failed (conversion, result file, output path or folder).
    bool FailureSeen() const { return m_failureSeen.load() != 0; }
    // After a batch: the user asked it to stop.
    bool StopRequested() const { return m_stopRequested.load() != 0; }
    // After a batch: the engine could not be switched and the batch ended at once.
    bool EngineFailed() const { return m_engineFailed.load() != 0; }
    // The output folder of the current or last batch.
    QString OutputFolder() const;

    // Converts up to `jobs` rows at once: the rows beyond the first get engines of their own,
    // made by `factory` (default: the program's) and set up like the first, after its Init.
    // False (and back to one job) when an engine cannot be made, or while a batch runs.
    bool setJobs(int jobs, CQuentaMediaCntl::EncoderFactory factory = {});
    // How many rows may convert at once (1 unless setJobs said otherwise).
    int jobs() const { return int(m_lanes.size()); }
    // Why the last setJobs went back to one job, when an engine said; empty otherwise.
    QString jobsProblem() const { return m_jobsProblem; }
    // Gives each completed row's output file its input's modification time. Off at start;
    // read as each row completes, so a change during a batch counts for the rows still to end.
    void setKeepSourceDates(bool keep) { m_keepDates.store(keep); }
    // Whether the encoder tool may cut a long video into segments (on unless said otherwise).
    void setSegments(bool allowed) { m_segments.store(allowed); }
    bool keepSourceDates() const { return m_keepDates.load(); }
    // Rows already in the profile's codec at no more than its bit rate are "Skipped", not
    // converted. Off at start; read as each row starts.
    void setSkipSameCodec(bool skip) { m_skipSameCodec.store(skip); }
    // A re-encoded output larger than its source is removed and its row "Skipped". Off at
    // start; read as each row ends.
    void setKeepSmaller(bool keep) { m_keepSmaller.store(keep); }
    // With keep-smaller: a copy of the source takes the larger output's place (under the
    // output's name with the source's extension) instead of nothing. Any thread.
    void setCopySourceIfLarger(bool copy) { m_copySource.store(copy); }
    bool copySourceIfLarger() const { return m_copySource.load(); }
    // While `pause` holds, the batch starts no new row; the rows converting finish, and when
    // the last has, the batch ends paused (no summary) with the rest left checked. Any thread.
    void requestPause(bool pause) { m_pauseAsked.store(pause); }
    bool pauseRequested() const { return m_pauseAsked.load(); }
    // True when the last batch ended at a pause with rows still to convert.
    bool endedPaused() const { return m_endedPaused.load(); }
    // A completed row whose output measured below SSIM `floor` gets a warning mark and is
    // listed at the end; 0 (the start) is off. Read as each row ends.
    void setQualityFloor(double floor) { m_qualityFloor.store(floor); }
    double qualityFloor() const { return m_qualityFloor.load(); }
    // Such a row fails instead (its file is kept). Off at start.
    void setQualityFloorFails(bool fails) { m_lowQualityFails.store(fails); }
    // How outputs are named ("{name}" at start); read as each row starts.
    void setNamePattern(const OutputNamePattern& pattern);
    OutputNamePattern namePattern() const;

    // With keep-going a failed row does not end the batch: every checked row is tried and one
    // message at the end lists the failed rows with their reasons. Off at start; read when a
    // batch starts.
    void setKeepGoing(bool keepGoing) { m_keepGoing.store(keepGoing); }
    bool keepGoing() const { return m_keepGoing.load(); }

    // Replaces the power-off at the end of a batch (tests); runs on the worker.
    void setShutdown(std::function<void()> shutdown) { m_shutdown = std::move(shutdown); }
    // Runs `hook` on a worker just after it has taken row `row` and before the row converts, so
    // that a test can hold the worker there; none by default.
    void setRowClaimedHook(std::function<void(int row)> hook) { m_rowClaimed = std::move(hook); }
    // Runs `hook` on the worker as its last step, once IsRunning() is false, so that a thread
    // waiting for the end can be woken; none by default. Set while no batch runs.
    void setEndedHook(std::function<void()> hook) { m_ended = std::move(hook); }

private:
    struct Lane;

    // The batch on the worker; `box` is the output box text StartConvert read.
    void ConvertBatch(const QString& box);
    void RunLane(Lane& lane, const QString& folder);
    // Ends a batch before any row, with `text` said once; the rows stay as they were.
    void RefuseBatch(const QString& text);
    enum class Ending
    {
        Cut,    // refused before any row, or an engine could not be switched
        Walked, // every row it could take was taken
        Paused  // a pause left rows to convert: nothing is said, the next batch goes on
    };
    // The end every batch goes through, on the worker: Finished and Encode back; for a walked
    // batch the power-off, the closing message and the output folder `shown`; the controls last.
    void EndBatch(Ending ending, const QString& shown);
    // The next checked row to convert, or -1 when the batch must take no more rows.
    int ClaimRow();
    // Converts row `row`; false when the batch must end (failure or engine trouble).
    bool ConvertRow(Lane& lane, int row, const QString& folder);
    bool SwitchEngineFor(Lane& lane, const ConversionJob& job);
    // Marks `row` "Fail" with `reason`; shows `text` now, or keeps the row for the end's list.
    void FailRow(int row, const QString& text, const QString& reason);
    QString FailureText() const;
    // The one message of a keep-going batch's end: the failed rows with their reasons.
    QString FailureListText() const;
    // Marks `row` "Skipped" with `reason`, noted for the end's message.
    void SkipRow(int row, const QString& reason);
    // The end's message of a batch without failures: the Part's words, then the skipped rows.
    QString AccomplishedText() const;
    // Hands the row its verdict, judged against the floor; false when the row failed for it.
    bool JudgeQuality(int row, const ConversionJob& job);
    // True when `job`'s output, re-encoded, came out larger than its source and was removed.
    bool DropLargerOutput(int row, const ConversionJob& job);
    QString ReserveOutputPath(const ConversionJob& job, int row, const QString& folder);
    void ReleaseOutputPath(const QString& path);

    EncoderSetup& m_setup; // the first engine's; kind is switched by the worker between rows
    BatchRows& m_rows;
    BatchUser& m_user;
    std::function<void()> m_shutdown;
    std::function<void(int)> m_rowClaimed;
    std::function<void()> m_ended;
    std::vector<std::unique_ptr<Lane>> m_lanes; // fixed while a batch runs
    QString m_jobsProblem;                      // UI thread

    std::thread m_worker;
    std::atomic<bool> m_running{false};
    std::atomic<int> m_convState{Idle};
    std::atomic<int> m_stopRequested{0};
    std::atomic<int> m_failureSeen{0};
    std::atomic<int> m_engineFailed{0};
    std::atomic<bool> m_keepDates{false};
    std::atomic<bool> m_segments{true};
    std::atomic<bool> m_skipSameCodec{false};
    std::atomic<bool> m_keepSmaller{false};
    std::atomic<bool> m_copySource{false};
    std::atomic<bool> m_pauseAsked{false};
    std::atomic<bool> m_endedPaused{false};
    bool m_rowsLeftAtPause = false; // guarded by m_walkLock
    std::atomic<double> m_qualityFloor{0};
    std::atomic<bool> m_lowQualityFails{false};
    std::atomic<int> m_processorShare{1}; // each row's share of the processors this batch
    std::atomic<bool> m_keepGoing{false};
    std::atomic<bool> m_goOn{false}; // keep-going as the running batch took it
    mutable QMutex m_folderLock;
    QString m_outputFolder;

    QMutex m_walkLock; // the walk, shared by the workers
    int m_nextRow = 0;
    bool m_walkEnded = false;
    QString m_failureText; // of the first row that failed
    mutable QMutex m_nameLock;
    QSet<QString> m_namesInUse;      // output paths of the rows converting now (case folded)
    OutputNamePattern m_namePattern; // under m_nameLock
    mutable QMutex m_failedLock;
    QStringList m_failedRows;     // "name: reason" of a keep-going batch, in the order they failed
    QStringList m_skippedRows;    // "name: reason", in the order they were skipped
    QStringList m_lowQualityRows; // "name: SSIM x" of the rows below the floor
};
