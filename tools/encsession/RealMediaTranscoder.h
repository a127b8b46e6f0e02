#pragma once

#include "EncSession.h"
#include "EncodePlan.h"

#include <atomic>
#include <functional>
#include <string>

struct AVPacket;

// Converts the plan's input into a RealMedia file (RealVideo 2.0 and AC-3) in process.
// Threads: runs on the job's encoding thread; the cancel flag is set from any thread.
class RealMediaTranscoder
{
public:
    using Progress = std::function<void(int percent)>;
    using Log = std::function<void(int level, const std::string& text)>;

    RealMediaTranscoder(const EncodePlan& plan, const std::atomic<bool>& cancel, Progress progress,
                        Log log);

    // Encodes to the end: ES_OK, ES_FALSE when cancelled (the file is closed properly with what
    // was encoded), ES_E_INPUT, ES_E_OUTPUT or ES_E_CODEC (the broken file is removed).
    ESResult run();

private:
    struct Session;
    // The steps of run: each returns ES_OK or the failure run returns, already logged.
    ESResult openInput(Session& s);
    ESResult openPipelines(Session& s);
    ESResult openOutputFile(Session& s);
    // Feeds every packet to its pipeline until the input ends or the run is cancelled; a
    // negative libav error when a pipeline fails.
    int pump(Session& s, AVPacket* packet, bool& cancelled);

    const EncodePlan& m_plan;
    const std::atomic<bool>& m_cancel;
    Progress m_progress;
    Log m_log;
};
