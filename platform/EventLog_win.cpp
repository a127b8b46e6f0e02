#include "EventLog.h"

#include <windows.h>

namespace {

class WindowsEventLog final : public EventLog
{
public:
    int report(Type type, int id, const std::optional<QByteArray>& text) override
    {
        HANDLE source = RegisterEventSourceA(nullptr, kEventSourceName);
        if (!source)
            return 0;
        const char* strings[1] = {text ? text->constData() : nullptr};
        ReportEventA(source, WORD(type), 0, DWORD(id), nullptr, text ? 1 : 0, 0,
                     text ? strings : nullptr, nullptr);
        DeregisterEventSource(source);
        return 1;
    }
};

} // namespace

std::unique_ptr<EventLog> EventLog::createSystem()
{
    return std::make_unique<WindowsEventLog>();
}
