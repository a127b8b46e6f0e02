#include "CAudienceEnumerator.h"

#include "CAudience.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

ESResult CAudienceEnumerator::Load(const char* folder)
{
    if (!folder)
        return ES_E_POINTER;
    std::error_code error;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(fs::path(folder), error), end; !error && it != end;
         it.increment(error))
        if (it->path().extension() == ".aud" && it->is_regular_file(error))
            files.push_back(it->path());
    if (error)
        return ES_E_NOTFOUND;
    // Byte order of the names, the same on every system, is the audience order.
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        return a.filename().native() < b.filename().native();
    });

    std::vector<AudienceFile> audiences;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const std::optional<AudienceFile> audience = AudienceFile::parse(text.str());
        // A skipped file would shift every later index onto the wrong audience.
        if (!in || !audience)
            return ES_E_FAIL;
        audiences.push_back(*audience);
    }
    std::lock_guard lock(m_lock);
    m_audiences = std::move(audiences);
    return ES_OK;
}

uint32_t CAudienceEnumerator::GetAudienceCount()
{
    std::lock_guard lock(m_lock);
    return uint32_t(m_audiences.size());
}

ESResult CAudienceEnumerator::GetAudience(uint32_t index, IESAudience** out)
{
    if (!out)
        return ES_E_POINTER;
    *out = nullptr;
    std::lock_guard lock(m_lock);
    if (index >= m_audiences.size())
        return ES_E_NOTFOUND;
    *out = new CAudience(m_audiences[index]);
    return ES_OK;
}
