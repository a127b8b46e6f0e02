#pragma once

#include "AccessPaths.h"
#include "ComObject.h"
#include "LogHub.h"

#include <memory>

// Makes every object of the library. The jobs, log systems and log writers of one factory
// share its log routing.
class CJobFactory final : public ComObject<IESJobFactory>
{
public:
    explicit CJobFactory(AccessPaths paths);

    ESResult CreateInstance(const ESGuid& iid, void** out) override;
    ESResult BuildInstance(const ESGuid& iid, IESPropertyBag* bag, void** out) override;

private:
    AccessPaths m_paths; // where plug-ins and codecs would be; the built-in ones need none
    std::shared_ptr<LogHub> m_log;
};
