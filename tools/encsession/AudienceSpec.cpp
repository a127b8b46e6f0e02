#include "AudienceSpec.h"

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

std::optional<AudienceSpec> AudienceSpec::parse(const std::string& text)
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

    AudienceSpec spec;
    spec.name = values["name"];
    const bool complete = values.size() == 7 && !spec.name.empty() &&
                          number(values["totalBitrate"], spec.totalBitrate) &&
                          number(values["videoBitrate"], spec.videoBitrate) &&
                          number(values["audioBitrate"], spec.audioBitrate) &&
                          number(values["maxFrameRate"], spec.maxFrameRate) &&
                          number(values["channels"], spec.channels) &&
                          number(values["sampleRate"], spec.sampleRate);
    if (!complete || spec.videoBitrate < 0 || spec.audioBitrate <= 0 || spec.totalBitrate <= 0 ||
        spec.maxFrameRate <= 0 || spec.channels < 1 || spec.channels > 6 || spec.sampleRate < 8000)
        return std::nullopt;
    return spec;
}
