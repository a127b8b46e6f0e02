#pragma once

#include "PropertyObject.h"
#include "RefList.h"

// How an output is encoded: modes, frame size and the audiences.
class CMediaProfile final : public PropertyObject<IESMediaProfile, IESPropertyBag>
{
public:
    CMediaProfile() = default;

    ESResult AddAudience(IESAudience* audience) override { return m_audiences.add(audience); }
    uint32_t GetAudienceCount() override { return m_audiences.count(); }
    ESResult GetAudience(uint32_t index, IESAudience** out) override
    {
        return m_audiences.get(index, out);
    }

private:
    RefList<IESAudience> m_audiences;
};
