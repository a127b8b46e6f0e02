#pragma once

#include "ComObject.h"
#include "LogHub.h"

#include <memory>

// Starts the factory's message routing.
class CLogSystem final : public ComObject<IESLogSystem>
{
public:
    explicit CLogSystem(std::shared_ptr<LogHub> hub) : m_hub(std::move(hub)) {}

    ESResult Initialize(const char* observerFolder) override
    {
        if (!observerFolder)
            return ES_E_POINTER;
        m_hub->start();
        return ES_OK;
    }

private:
    std::shared_ptr<LogHub> m_hub;
};
