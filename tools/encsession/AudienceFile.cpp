#include "AudienceFile.h"

#include <charconv>
#include <map>
#include <sstream>

namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

template <class T> bool number(const std::string& text, T& out)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, out);
    return error == std::errc() && stop == end;
}

} // namespace

std::optional<AudienceFile> AudienceFile::parse(const std::string& text)
{
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        line = trimmed(line);
        if (line.empty() || line[0] == '#')
            continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            return std::nullopt;
        values[trimmed(line.substr(0, equals))] = trimmed(line.substr(equals + 1));
    }

    AudienceFile audience;
    audience.name = values["name"];
    const bool complete = values.size() == 7 && !audience.name.empty() &&
                          number(values["totalBitrate"], audience.totalBitrate) &&
                          number(values["videoBitrate"], audience.videoBitrate) &&
                          number(values["audioBitrate"], audience.audioBitrate) &&
                          number(values["maxFrameRate"], audience.maxFrameRate) &&
                          number(values["channels"], audience.channels) &&
                          number(values["sampleRate"], audience.sampleRate);
    if (!complete || audience.videoBitrate < 0 || audience.audioBitrate <= 0 ||
        audience.totalBitrate <= 0 || audience.maxFrameRate <= 0 || audience.channels < 1 ||
        audience.channels > 6 || audience.sampleRate < 8000)
        return std::nullopt;
    return audience;
}
