#include "CProfileManager.h"
#include "OptionTable.h"
#include "TestMedia.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The audience names of the RealMedia producer in the index order it expects: the names of
// its shipped audience files, in byte order.
QList<QByteArray> audienceNames()
{
    QList<QByteArray> names;
    const QDir folder(TestMedia::sourceDir() + "tools/encsession/audiences");
    for (const QString& file : folder.entryList({"*.aud"}, QDir::Files))
        names << QFileInfo(file).completeBaseName().toUtf8();
    std::sort(names.begin(), names.end());
    return names;
}

QString profilesFolder()
{
    return TestMedia::appDir() + QStringLiteral("profiles");
}

const ProfileOption* findOption(const Profile& profile, const char* name)
{
    for (const ProfileOption& option : profile.options)
        if (option.name == name)
            return &option;
    return nullptr;
}

QList<QByteArray> choicesShown(const ProfileOption& option)
{
    if (!option.listText.isEmpty())
        return option.choices;
    QList<QByteArray> items;
    const OptionRow& row = FindOption(option.name);
    for (int i = 0; i < row.listCount; ++i)
        items.append(row.list[i]);
    return items;
}

// The entry a drop-down shows for `value`: a case-insensitive prefix search that starts
// after entry 0 and wraps, so entry 0 is tried last. Null when nothing matches.
QByteArray entryShown(const QList<QByteArray>& choices, const QByteArray& value)
{
    for (int step = 1; step <= choices.size(); ++step) {
        const QByteArray& entry = choices[step % choices.size()];
        if (entry.toLower().startsWith(value.toLower()))
            return entry;
    }
    return QByteArray();
}

class ShippedProfiles : public ::testing::Test
{
protected:
    CProfileManager manager;
    std::vector<Profile> profiles;

    void SetUp() override
    {
        manager.ScanProfiles(profilesFolder(), QString());
        for (const QByteArray& name : manager.Names()) {
            Profile profile;
            ASSERT_TRUE(manager.LoadProfile(name, &profile));
            profiles.push_back(std::move(profile));
        }
    }
};

TEST_F(ShippedProfiles, EveryFileIsListedOnceUnderItsOwnName)
{
    const QStringList files = QDir(profilesFolder()).entryList({"*.pf"}, QDir::Files);
    ASSERT_GE(files.size(), 17);
    EXPECT_EQ(manager.Names().size(), files.size());
    EXPECT_EQ(QSet<QByteArray>(manager.Names().begin(), manager.Names().end()).size(),
              files.size());
    // No config.ini: today's H.264 is a new user's first choice.
    EXPECT_EQ(manager.CurrentName(), CProfileManager::kFirstChoice);
}

TEST_F(ShippedProfiles, EveryEntryParsesAndNamesAKnownOption)
{
    for (const Profile& profile : profiles) {
        SCOPED_TRACE(profile.name.constData());
        EXPECT_FALSE(profile.sName.isEmpty());
        EXPECT_FALSE(profile.format.isEmpty());
        EXPECT_FALSE(profile.extName.isEmpty());
        EXPECT_GT(profile.optionCount, 0);
        EXPECT_EQ(profile.optionCount, profile.parameterKeys.size()); // nothing rejected
        for (const ProfileOption& option : profile.options)
            EXPECT_NE(FindOption(option.name).name, nullptr) << option.name.constData();
        // The output format is always given to the encoder, except for the producer.
        if (profile.format.compare("rm", Qt::CaseInsensitive) != 0) {
            EXPECT_TRUE(findOption(profile, "f") || findOption(profile, "target"));
        }
    }
}

TEST_F(ShippedProfiles, DropDownValuesAreShownAndWrittenBackUnchanged)
{
    for (const Profile& profile : profiles) {
        for (const ProfileOption& option : profile.options) {
            if (option.kind != 1 && option.kind != 2)
                continue;
            SCOPED_TRACE((profile.name + " " + option.name).constData());
            ASSERT_FALSE(option.value.isEmpty());
            const QByteArray shown = entryShown(choicesShown(option), option.value);
            if (option.kind == 2) {
                ASSERT_FALSE(shown.isEmpty())
                    << "a fixed list cannot show " << option.value.constData();
            }
            if (shown.isEmpty())
                continue;
            // The channel choices stand for their first character, the rest for themselves.
            if (option.name == "ac")
                EXPECT_EQ(shown.left(1), option.value.left(1));
            else
                EXPECT_EQ(shown.toLower(), option.value.toLower());
        }
    }
}

TEST_F(ShippedProfiles, CoverEveryOutputFormatOfTheProduct)
{
    QSet<QByteArray> formats;
    QSet<QByteArray> videoCodecs;
    for (const Profile& profile : profiles) {
        formats.insert(profile.format.toLower());
        if (const ProfileOption* vcodec = findOption(profile, "vcodec"))
            videoCodecs.insert(vcodec->value.toLower());
    }
    for (const char* format :
         {"mp4", "3gp", "flv", "avi", "wmv", "mpeg", "vcd", "svcd", "dvd", "rm", "mp3"})
        EXPECT_TRUE(formats.contains(format)) << format;
    for (const char* codec :
         {"mpeg4", "h264", "xvid", "msmpeg4v2", "wmv2", "flv", "mpeg1video", "mpeg2video", "h263"})
        EXPECT_TRUE(videoCodecs.contains(codec)) << codec;
}

TEST_F(ShippedProfiles, DiscProfilesLockWhatTheDiscStandardFixes)
{
    int discs = 0;
    for (const Profile& profile : profiles) {
        if (profile.format != "vcd" && profile.format != "svcd" && profile.format != "dvd")
            continue;
        ++discs;
        for (const char* name : {"target", "vcodec", "s", "r", "acodec", "ar"}) {
            const ProfileOption* option = findOption(profile, name);
            ASSERT_NE(option, nullptr) << profile.name.constData() << ' ' << name;
            EXPECT_EQ(option->access, QByteArray("READONLY"))
                << profile.name.constData() << ' ' << name;
        }
        // PAL and NTSC differ in frame size and rate; the target names the norm.
        const QByteArray target = findOption(profile, "target")->value;
        const QByteArray rate = findOption(profile, "r")->value;
        EXPECT_EQ(target.startsWith("pal-"), rate == "25.0") << profile.name.constData();
        EXPECT_EQ(target.startsWith("ntsc-"), rate == "29.97") << profile.name.constData();
    }
    EXPECT_EQ(discs, 6);
}

TEST_F(ShippedProfiles, RealMediaOffersEveryAudienceInIndexOrder)
{
    int found = 0;
    for (const Profile& profile : profiles) {
        if (profile.format.compare("rm", Qt::CaseInsensitive) != 0)
            continue;
        ++found;
        const ProfileOption* audience = findOption(profile, "vcodec");
        ASSERT_NE(audience, nullptr);
        EXPECT_GT(profile.parameterKeys.value("vcodec").size(), 255); // kept whole
        const QList<QByteArray> audiences = audienceNames();
        EXPECT_EQ(audiences.size(), 38);
        EXPECT_EQ(audience->choices, audiences);
        EXPECT_TRUE(audiences.contains(audience->value));
        ASSERT_NE(findOption(profile, "s"), nullptr);
    }
    EXPECT_EQ(found, 1);
}

TEST_F(ShippedProfiles, TheAudioProfileDropsVideo)
{
    int found = 0;
    for (const Profile& profile : profiles) {
        if (profile.format != "mp3")
            continue;
        ++found;
        EXPECT_EQ(profile.videoCount, 1); // "vn" only
        const ProfileOption* vn = findOption(profile, "vn");
        ASSERT_NE(vn, nullptr);
        EXPECT_EQ(vn->value, QByteArray("True"));
        EXPECT_EQ(vn->access, QByteArray("READONLY"));
        EXPECT_EQ(profile.extName, QByteArray("mp3"));
    }
    EXPECT_EQ(found, 1) << "the MP3 profile is shipped";
}

} // namespace
