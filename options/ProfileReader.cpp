#include "ProfileReader.h"

#include "OptionRow.h"
#include "PrivateProfile.h"
#include "ProfileEntryParser.h"

QMap<QByteArray, QByteArray> ProfileReader::ReadSection(const QString& file,
                                                        const QByteArray& section)
{
    QMap<QByteArray, QByteArray> values;
    if (file.isEmpty())
        return values;
    const QList<QByteArray> keys = PrivateProfile::readKeys(file, section, kKeyListSize);
    for (const QByteArray& key : keys)
        values.insert(key, PrivateProfile::readString(file, section, key, "", kValueSize));
    return values;
}

void ProfileReader::Read(const QString& file, const QByteArray& name, Profile& profile)
{
    profile.videoCount = profile.audioCount = profile.generalCount = profile.optionCount = 0;
    profile.path = file;
    profile.name = name;
    profile.mainKeys = ReadSection(file, "Main");
    profile.parameterKeys = ReadSection(file, "Parameter");
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
