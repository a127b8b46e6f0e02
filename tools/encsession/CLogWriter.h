#pragma once

#include "ComObject.h"
#include "LogHub.h"

#include <memory>
#include <mutex>

// Appends the factory's messages to one file for as long as it lives.
class CLogWriter final : public ComObject<IESLogWriter>
{
public:
    explicit CLogWriter(std::shared_ptr<LogHub> hub) : m_hub(std::move(hub)) {}

    ESResult SetLevel(int32_t level) override
    {
        if (level < LogHub::Information || level > LogHub::Error)
            return ES_E_INVALIDARG;
        std::lock_guard lock(m_lock);
        m_level = level;
        return ES_OK;
    }
    ESResult SetFile(const char* path) override
    {
        if (!path)
            return ES_E_POINTER;
        std::lock_guard lock(m_lock);
        m_file = m_hub->open(path, m_level);
        return m_file ? ES_OK : ES_E_OUTPUT;
    }

private:
    std::shared_ptr<LogHub> m_hub;
    std::mutex m_lock;
    int m_level = LogHub::Information;
    std::shared_ptr<LogHub::File> m_file;
};
