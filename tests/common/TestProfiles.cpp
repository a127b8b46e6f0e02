#include "TestProfiles.h"

#include "OptionTable.h"

std::unique_ptr<Profile>
MakeProfile(std::initializer_list<std::pair<QByteArray, QByteArray>> options,
            const QByteArray& format)
{
    auto profile = std::make_unique<Profile>();
    profile->format = format;
    profile->extName = format;
    profile->mainKeys.insert("Format", format);
    for (const auto& [name, value] : options) {
        ProfileOption option;
        option.name = name;
        option.value = value;
        option.flags = FindOption(name).flags;
        profile->options.push_back(option);
    }
    ProfileOption* previous = nullptr;
    for (ProfileOption& option : profile->options) {
        (previous ? previous->next : profile->firstOption) = &option;
        previous = &option;
    }
    profile->optionCount = int(profile->options.size());
    return profile;
}
