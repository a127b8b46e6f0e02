#include "ProfileReader.h"

#include "OptionRow.h"
#include "PrivateProfileText.h"
#include "ProfileEntryParser.h"

namespace {

QMap<QByteArray, QByteArray> sectionOf(const PrivateProfileText& text, const QByteArray& section)
{
    QMap<QByteArray, QByteArray> values;
    const auto entries =
        text.readSection(section, ProfileReader::kKeyListSize, ProfileReader::kValueSize);
    for (const auto& [key, value] : entries)
        values.insert(key, value);
    return values;
}

} // namespace

QMap<QByteArray, QByteArray> ProfileReader::ReadSection(const QString& file,
                                                        const QByteArray& section)
{
    PrivateProfileText text;
    if (!file.isEmpty())
        text.load(file);
    return sectionOf(text, section);
}

void ProfileReader::Read(const QString& file, const QByteArray& name, Profile& profile)
{
    profile.videoCount = profile.audioCount = profile.generalCount = profile.optionCount = 0;
    profile.path = file;
    profile.name = name;
    // One read of the file serves both sections.
    PrivateProfileText text;
    if (!file.isEmpty())
        text.load(file);
    profile.mainKeys = sectionOf(text, "Main");
    profile.parameterKeys = sectionOf(text, "Parameter");
    // Exact-case look-ups: a key spelt "sname" is not "SName".
    profile.sName = profile.mainKeys.value("SName");
    profile.format = profile.mainKeys.value("Format");
    profile.extName = profile.mainKeys.value("ExtName");

    profile.options.clear();
    profile.options.reserve(size_t(profile.parameterKeys.size()));
    for (auto it = profile.parameterKeys.cbegin(); it != profile.parameterKeys.cend(); ++it) {
        ProfileOption option;
        if (!ProfileEntryParser::ParseEntry(it.key(), it.value(), option))
            continue;
        switch (option.category) {
        case OPT_CATEGORY_VIDEO:
            ++profile.videoCount;
            break;
        case OPT_CATEGORY_AUDIO:
            ++profile.audioCount;
            break;
        default:
            ++profile.generalCount;
            break;
        }
        ++profile.optionCount;
        profile.options.push_back(std::move(option));
    }
    LinkOptionOrder(profile);
}

void ProfileReader::LinkOptionOrder(Profile& profile)
{
    profile.firstOption = nullptr;
    for (ProfileOption& option : profile.options) {
        ProfileOption** link = &profile.firstOption;
        while (*link && (*link)->order < option.order)
            link = &(*link)->next;
        option.next = *link;
        *link = &option;
    }
}
