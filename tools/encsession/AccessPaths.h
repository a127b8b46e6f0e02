#pragma once

#include <map>
#include <optional>
#include <string>

// The folders the program tells the library about ("DT_Plugins=...", "DT_Codecs=..." ...).
struct AccessPaths
{
    std::map<std::string, std::string> folders;

    // Reads a block of "KEY=VALUE" texts, each ended by a NUL and the last by a second NUL,
    // looking at no more than `size` bytes. Nothing when an entry has no key or no '=', or
    // the block does not end within `size`.
    static std::optional<AccessPaths> parse(const char* block, size_t size);
};
