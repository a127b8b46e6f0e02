// The rows for tracks, picture and loudness: the values they accept, and a saved profile that
// keeps them.
#include "OptionTable.h"
#include "OptionValueCheck.h"
#include "Profile.h"
#include "ProfileReader.h"
#include "ProfileWriter.h"
#include "TestMedia.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(TrackRowValues, EachValueIsAcceptedOrRefusedSayingWhatIsAccepted)
{
    const struct
    {
        const char* name;
        const char* value;
        const char* refusal; // empty: accepted
    } values[] = {
        {"audio_tracks", "fra+eng", ""},
        {"audio_tracks", "fra,eng", "three-letter languages joined by \"+\""},
        {"subtitles", "burn:fra", ""},
        {"subtitles", "burn:", "\"burn:\" and a three-letter language"},
        {"crop", "0:0:8:8", ""},
        {"crop", "-2:0:0:0", "top:bottom:left:right"},
        {"loudness", "-23", ""},
        {"loudness", "-3", "from -70 to -5 LUFS"},
        {"interlace", "sometimes", "\"off\", \"auto\" or \"on\""},
        {"metadata", "STRIP", ""},
    };
    for (const auto& v : values) {
        SCOPED_TRACE(std::string(v.name) + " " + v.value);
        const QString why = OptionValueCheck::problem(v.name, v.value);
        EXPECT_EQ(why.isEmpty(), *v.refusal == '\0') << why.toStdString();
        EXPECT_TRUE(why.contains(v.refusal)) << why.toStdString();
    }
    // "auto" is a value of these rows, not the encoder's choice, so the command line keeps it.
    EXPECT_TRUE(FindOption("crop").flags & OPT_FLAG_AUTO_VALUE);
    EXPECT_EQ(FindOption("audio_tracks").flags & OPT_FLAG_AUTO_VALUE, 0u);
}

TEST(TrackRowValues, ASavedProfileKeepsTheRows)
{
    Profile shipped;
    ProfileReader::Read(TestMedia::appDir() + "profiles/19-mp4-h265.pf", "H.265", shipped);
    ASSERT_NE(shipped.optionNamed("crop"), nullptr);
    EXPECT_EQ(shipped.optionNamed("crop")->value, "auto");
    EXPECT_EQ(shipped.optionNamed("audio_tracks")->category, OPT_CATEGORY_AUDIO);
    shipped.optionNamed("audio_tracks")->value = "fra+eng";
    shipped.optionNamed("crop")->value = "140:140:0:0";

    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(ProfileWriter::Write(shipped, "Mine", dir.filePath("user-mine.pf"), error))
        << error.toStdString();
    Profile saved;
    ProfileReader::Read(dir.filePath("user-mine.pf"), "Mine", saved);
    for (const char* name :
         {"audio_tracks", "subtitles", "metadata", "crop", "interlace", "loudness"}) {
        SCOPED_TRACE(name);
        ASSERT_NE(saved.optionNamed(name), nullptr);
        EXPECT_EQ(saved.optionNamed(name)->value, shipped.optionNamed(name)->value);
    }
}

} // namespace
