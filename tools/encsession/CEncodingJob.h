#pragma once

#include "CEventManager.h"
#include "ComObject.h"
#include "LogHub.h"
#include "RefList.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

// One encoding job. The encoding runs on a thread of the job's own, which reports through
// the event manager; the caller's thread waits for it or not (StartEncoding's flag).
// Threads: configuration calls from any thread while not encoding; CancelEncoding any time.
// The job's last Release cancels a running encoding and waits for its thread.
class CEncodingJob final : public ComObject<IESJob>
{
public:
    explicit CEncodingJob(std::shared_ptr<LogHub> log);

    ESResult SetInput(IESInput* input) override;
    ESResult GetInput(IESInput** out) override;
    ESResult AddOutput(IESOutputProfile* output) override { return m_outputs.add(output); }
    uint32_t GetOutputCount() override { return m_outputs.count(); }
    ESResult GetOutput(uint32_t index, IESOutputProfile** out) override
    {
        return m_outputs.get(index, out);
    }
    ESResult GetEventManager(IESEventManager** out) override;
    ESResult StartEncoding(int32_t wait) override;
    ESResult CancelEncoding() override;

private:
    ~CEncodingJob() override;
    void logInput();

    std::shared_ptr<LogHub> m_log;
    ESRef<CEventManager> m_events;
    RefList<IESOutputProfile> m_outputs;
    std::atomic<bool> m_cancel{false};

    std::mutex m_lock; // guards the members below
    ESRef<IESInput> m_input;
    std::thread m_thread;
    bool m_running = false;
};
