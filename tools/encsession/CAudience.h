#pragma once

#include "AudienceFile.h"
#include "PropertyObject.h"
#include "RefList.h"

// One audience as an object: its rates as properties and a video and an audio stream
// (no video stream for an audience without a video rate).
class CAudience final : public PropertyObject<IESAudience, IESPropertyBag>
{
public:
    explicit CAudience(const AudienceFile& audience);

    uint32_t GetStreamCount() override { return m_streams.count(); }
    ESResult GetStream(uint32_t index, IESStream** out) override
    {
        return m_streams.get(index, out);
    }

private:
    RefList<IESStream> m_streams;
};
