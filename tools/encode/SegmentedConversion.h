#pragma once

#include "LineSplitter.h"
#include "ProgressLineWriter.h"
#include "SegmentPlan.h"

#include <QEventLoop>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class ChildLifetime;
class SegmentCommands;
class SegmentManifest;
class StdinWatcher;

// Runs a conversion cut into segments: the segments not yet kept on `lanes` ffmpeg processes at
// once, every other stream once beside them, then the join into the output. Speaks as one ffmpeg
// run would: one stream of progress lines whose time, the lanes' summed with the kept segments',
// never goes back; the failing segment's reason last. A stop request ends every process; what
// was finished stays kept for the next run, nothing is written under the output's name.
// Lives on the tool's main thread; the watcher's flag is the only thing shared with another.
class SegmentedConversion : public QObject
{
    Q_OBJECT
public:
    struct Setup
    {
        QString ffmpeg;
        QStringList control; // ahead of every ffmpeg argument list
        const SegmentCommands* commands = nullptr;
        SegmentManifest* manifest = nullptr;
        SegmentPlan::Lanes lanes;
        bool rest = false; // other streams to convert beside the video
        // Whether a finished segment reads back as video.
        std::function<bool(const QString& path)> check;
    };

    SegmentedConversion(StdinWatcher& watcher, ChildLifetime& lifetime, Setup setup,
                        QObject* parent = nullptr);
    ~SegmentedConversion() override;

    // Converts to the end; returns 0 once the output is joined, else a failing exit code.
    int run();
    // True once a stop request ended the run.
    bool stopped() const { return m_stopped; }
    // True once the join began writing the output.
    bool joinStarted() const { return m_joinStarted; }

private:
    struct Lane
    {
        std::unique_ptr<QProcess> process;
        int segment = -1; // kRest for the other streams and the join
        QString name;     // as the trace and a failure name it
        LineSplitter out, err;
        ProgressLineWriter progress;
        QStringList log; // its last warning and error lines
    };
    static constexpr int kRest = -1;

    void startSegments();
    void start(Lane& lane, int segment, const QString& what, const QStringList& arguments);
    QString segmentName(int i) const;
    void ended(Lane& lane);
    void fail(const QString& reason);
    void pollStop();
    void report();
    int join();
    void endAll();

    StdinWatcher& m_watcher;
    ChildLifetime& m_lifetime;
    Setup m_setup;
    std::vector<std::unique_ptr<Lane>> m_lanes;
    QList<int> m_queue; // segments still to encode, in order
    QEventLoop m_loop;
    QTimer m_poll;
    double m_doneSeconds = 0; // kept and finished segments
    double m_reported = -1;
    int m_running = 0;
    bool m_stopped = false;
    bool m_joinStarted = false;
    QString m_failure;
    int m_failureCode = 0;
};
