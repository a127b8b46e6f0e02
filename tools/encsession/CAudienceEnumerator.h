#pragma once

#include "AudienceFile.h"
#include "ComObject.h"

#include <mutex>
#include <vector>

// The audiences of a folder of "*.aud" files, indexed in the byte order of the file names.
class CAudienceEnumerator final : public ComObject<IESAudienceEnumerator>
{
public:
    CAudienceEnumerator() = default;

    ESResult Load(const char* folder) override;
    uint32_t GetAudienceCount() override;
    ESResult GetAudience(uint32_t index, IESAudience** out) override;

private:
    std::mutex m_lock;
    std::vector<AudienceFile> m_audiences;
};
