#include "AccessPaths.h"

#include <cstring>

std::optional<AccessPaths> AccessPaths::parse(const char* block, size_t size)
{
    AccessPaths paths;
    size_t at = 0;
    while (at < size && block[at] != '\0') {
        const void* end = std::memchr(block + at, '\0', size - at);
        if (!end)
            return std::nullopt;
        const std::string entry(block + at, static_cast<const char*>(end));
        const auto equals = entry.find('=');
        if (equals == std::string::npos || equals == 0)
            return std::nullopt;
        paths.folders[entry.substr(0, equals)] = entry.substr(equals + 1);
        at += entry.size() + 1;
    }
    if (at >= size)
        return std::nullopt;
    return paths;
}
