#include "CEncodingJob.h"

#include "HeldReference.h"

#include "EncodePlan.h"
#include "RealMediaTranscoder.h"

CEncodingJob::CEncodingJob(std::shared_ptr<LogHub> log)
    : m_log(std::move(log)), m_events(ESRef<CEventManager>::adopt(new CEventManager))
{
}

CEncodingJob::~CEncodingJob()
{
    m_cancel.store(true);
    if (!m_thread.joinable())
        return;
    // A listener that drops the last reference from inside an event cannot wait for itself.
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach();
    else
        m_thread.join();
}

ESResult CEncodingJob::SetInput(IESInput* input)
{
    return HeldReference::store(m_lock, m_input, input);
}

ESResult CEncodingJob::GetInput(IESInput** out)
{
    return HeldReference::give(m_lock, m_input, out);
}

ESResult CEncodingJob::GetEventManager(IESEventManager** out)
{
    if (!out)
        return ES_E_POINTER;
    m_events->AddRef();
    *out = m_events.get();
    return ES_OK;
}

ESResult CEncodingJob::CancelEncoding()
{
    m_cancel.store(true);
    return ES_OK;
}

ESResult CEncodingJob::StartEncoding(int32_t wait)
{
    auto plan = std::make_shared<EncodePlan>();
    std::string problem;
    const ESResult configured = EncodePlan::read(this, *plan, problem);
    if (ESFailed(configured)) {
        m_log->write(LogHub::Error, "cannot start: " + problem);
        return configured;
    }

    auto result = std::make_shared<std::atomic<ESResult>>(ES_E_FAIL);
    {
        std::lock_guard lock(m_lock);
        if (m_running)
            return ES_E_BUSY;
        if (m_cancel.load())
            return ES_E_ABORT;
        if (m_thread.joinable())
            m_thread.join(); // an earlier encoding that ran without waiting
        m_running = true;
        logInput();
        m_log->write(LogHub::Information, "Audience: " + plan->audienceName);
        m_log->write(LogHub::Information, "Output File: " + plan->outputPath);
        m_thread = std::thread([this, plan, result] {
            m_events->Fire(ES_EVENT_STARTED, nullptr);
            ESResult status = ES_E_FAIL;
            try {
                RealMediaTranscoder transcoder(
                    *plan, m_cancel,
                    [this](int percent) {
                        const int32_t value = percent;
                        m_events->Fire(ES_EVENT_PROGRESS, &value);
                    },
                    [this](int level, const std::string& text) { m_log->write(level, text); });
                status = transcoder.run();
            } catch (const std::bad_alloc&) {
                status = ES_E_OUTOFMEMORY;
            }
            if (status == ES_OK) {
                m_log->write(LogHub::Information, "Encoding complete");
                m_events->Fire(ES_EVENT_COMPLETED, nullptr);
            } else if (status == ES_FALSE) {
                m_log->write(LogHub::Information, "Encoding cancelled");
                m_events->Fire(ES_EVENT_CANCELLED, nullptr);
            } else {
                m_events->Fire(ES_EVENT_FAILED, &status);
            }
            result->store(status);
            std::lock_guard lock(m_lock);
            m_running = false;
        });
    }
    if (!wait)
        return ES_OK;
    // Only this caller joins a thread it started with wait set; a concurrent Release is not
    // allowed while the caller still holds its reference.
    std::thread finished;
    {
        std::lock_guard lock(m_lock);
        finished = std::move(m_thread);
    }
    if (finished.joinable())
        finished.join();
    return result->load();
}

void CEncodingJob::logInput()
{
    ESRef<IESInput> input = m_input;
    std::string name;
    for (uint32_t i = 0; i < input->GetPrefilterCount(); ++i) {
        ESRef<IESPrefilter> prefilter;
        if (!ESFailed(input->GetPrefilter(i, prefilter.put())) &&
            !ESFailed(ESGetString(prefilter.get(), "pluginName", name)))
            m_log->write(LogHub::Information, "Pre-filter: " + name);
    }
}
