#pragma once

#include "PropertyObject.h"
#include "RefList.h"

// One output of a job: the files it is written to and the media profile it is encoded with.
class COutputProfile final : public PropertyObject<IESOutputProfile, IESPropertyBag>
{
public:
    COutputProfile() = default;

    ESResult AddDestination(IESDestination* destination) override
    {
        return m_destinations.add(destination);
    }
    uint32_t GetDestinationCount() override { return m_destinations.count(); }
    ESResult GetDestination(uint32_t index, IESDestination** out) override
    {
        return m_destinations.get(index, out);
    }
    ESResult SetMediaProfile(IESMediaProfile* profile) override;
    ESResult GetMediaProfile(IESMediaProfile** out) override;

private:
    RefList<IESDestination> m_destinations;
    std::mutex m_lock;
    ESRef<IESMediaProfile> m_profile;
};
