#include "PrivateProfile.h"
#include "PrivateProfileText.h"
#include "TestMedia.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PrivateProfileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString file = dir.filePath("test.ini");

    void write(const QByteArray& text) { ASSERT_TRUE(TestMedia::writeFile(file, text)); }
    QByteArray read(const char* section, const char* key, int size = 256,
                    const char* fallback = "<default>")
    {
        return PrivateProfile::readString(file, section, key, fallback, size);
    }
};

struct ReadCase
{
    const char* text;
    const char* section;
    const char* key;
    const char* expected;
};

TEST_F(PrivateProfileTest, ReadsFollowTheProfileRules)
{
    const ReadCase cases[] = {
        {"[Main]\nName=MP4\n", "Main", "Name", "MP4"},
        {"[main]\nNAME=MP4\n", "MAIN", "name", "MP4"},                       // case-insensitive
        {"[Main]\n  Name   =   MP4 video  \n", "Main", "Name", "MP4 video"}, // trimmed
        {"[Main]\nName=\"quoted\"\n", "Main", "Name", "quoted"},
        {"[Main]\nName='single'\n", "Main", "Name", "single"},
        {"[Main]\nName=\"mixed'\n", "Main", "Name", "\"mixed'"}, // unmatched kept
        {"[Main]\nName=\"\n", "Main", "Name", "\""},
        {"[Main]\nName=a\"b\"c\n", "Main", "Name", "a\"b\"c"},
        {"[Main]\nName=first\nName=second\n", "Main", "Name", "first"},  // first key wins
        {"[Main]\nName=one\n[Main]\nName=two\n", "Main", "Name", "one"}, // first section
        {"[Main]\n;Name=comment\nName=real\n", "Main", "Name", "real"},
        {"[Main]\n  ; Name=comment\n", "Main", "Name", "<default>"},
        {"[Other]\nName=x\n", "Main", "Name", "<default>"},
        {"[Main]\r\nName=crlf\r\nExt=mp4\r\n", "Main", "Ext", "mp4"},
        {"[Main]\nName=no final line end", "Main", "Name", "no final line end"},
        {"[Main]\nb=,,128k,{64,96}\n", "Main", "b", ",,128k,{64,96}"}, // commas kept
        {"[Main]\nName=a=b\n", "Main", "Name", "a=b"},
        {"[Main]\nName=\xe9t\xe9 100%\n", "Main", "Name", "\xe9t\xe9 100%"}, // 8-bit passes
        {"[ Main ]\nName=spaced\n", "Main", "Name", "spaced"},
        {"[Main]\nName=\n", "Main", "Name", ""},
    };
    for (const ReadCase& c : cases) {
        write(c.text);
        EXPECT_EQ(read(c.section, c.key), QByteArray(c.expected)) << c.text;
    }
}

TEST_F(PrivateProfileTest, ReadsAreCutToTheBuffer)
{
    write("[Config]\nversion=1234567890\n");
    EXPECT_EQ(read("Config", "version", 5), "1234");
    EXPECT_EQ(read("Config", "version", 1), "");
    EXPECT_EQ(read("Config", "version", 0), "");
    EXPECT_EQ(read("Config", "missing", 4, "defaultvalue"), "def");
}

TEST_F(PrivateProfileTest, MissingFileGivesDefaultAndIsNotCreated)
{
    EXPECT_EQ(read("Config", "version", 32, "1.0.1"), "1.0.1");
    EXPECT_TRUE(PrivateProfile::readKeys(file, "Config", 100).isEmpty());
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(PrivateProfileTest, KeysComeInFileOrderAndAreCutAtTheBuffer)
{
    write("[P]\nvcodec=1\n;c=2\ns=3\nab=4\n[Q]\nz=5\n");
    EXPECT_EQ(PrivateProfile::readKeys(file, "p", 16384), (QList<QByteArray>{"vcodec", "s", "ab"}));
    // "vcodec\0" and "s\0" take 9 bytes; one byte for the final NUL leaves 1 of "ab".
    EXPECT_EQ(PrivateProfile::readKeys(file, "P", 12), (QList<QByteArray>{"vcodec", "s", "a"}));
    EXPECT_EQ(PrivateProfile::readKeys(file, "P", 11), (QList<QByteArray>{"vcodec", "s"}));
    EXPECT_EQ(PrivateProfile::readKeys(file, "P", 8), (QList<QByteArray>{"vcodec"}));
    EXPECT_EQ(PrivateProfile::readKeys(file, "P", 5), (QList<QByteArray>{"vco"}));
}

TEST_F(PrivateProfileTest, WriteCreatesFileAndSection)
{
    ASSERT_TRUE(PrivateProfile::writeString(file, "Config", "CProID", "3"));
    EXPECT_EQ(read("Config", "CProID"), "3");
    ASSERT_TRUE(PrivateProfile::writeString(file, "Other", "k", "v"));
    EXPECT_EQ(TestMedia::readFile(file), "[Config]\nCProID=3\n[Other]\nk=v\n");
}

TEST_F(PrivateProfileTest, WriteReplacesInPlaceAndKeepsEveryOtherLine)
{
    const QByteArray original = "; settings\r\n[config]\r\n  OUTPUT = old \r\nversion=2.0\r\n\r\n"
                                "[Next]\r\noutput=other\r\n";
    write(original);
    ASSERT_TRUE(PrivateProfile::writeString(file, "Config", "Output", "/tmp/new dir"));
    EXPECT_EQ(TestMedia::readFile(file),
              "; settings\r\n[config]\r\nOUTPUT=/tmp/new dir\r\nversion=2.0\r\n\r\n"
              "[Next]\r\noutput=other\r\n");
}

TEST_F(PrivateProfileTest, WriteAppendsNewKeyAtTheEndOfItsSection)
{
    write("[Config]\nversion=1\n\n[Next]\nx=1\n");
    ASSERT_TRUE(PrivateProfile::writeString(file, "CONFIG", "CProID", "2"));
    EXPECT_EQ(TestMedia::readFile(file), "[Config]\nversion=1\nCProID=2\n\n[Next]\nx=1\n");

    write("[Config]\nversion=1");
    ASSERT_TRUE(PrivateProfile::writeString(file, "Config", "CProID", "2"));
    EXPECT_EQ(TestMedia::readFile(file), "[Config]\nversion=1\nCProID=2\n");
}

TEST_F(PrivateProfileTest, WriteIntoAFolderThatDoesNotExistFails)
{
    EXPECT_FALSE(PrivateProfile::writeString(dir.filePath("no/such/dir.ini"), "a", "b", "c"));
}

} // namespace

namespace {

// What a section reads as, name by name through the per-key calls.
QList<std::pair<QByteArray, QByteArray>>
keyByKey(const PrivateProfileText& text, const QByteArray& section, int listSize, int valueSize)
{
    QList<std::pair<QByteArray, QByteArray>> entries;
    for (const QByteArray& key : text.readKeys(section, listSize))
        entries.append({key, text.readString(section, key, "", valueSize)});
    return entries;
}

TEST(PrivateProfileText, ASectionInOnePassReadsAsKeyByKey)
{
    const QByteArray text = "; head\r\n[Other]\r\nb=0\r\n[parameter]\r\nb=,,1\r\nB=,,2\r\n"
                            "b=,,3\r\n  ; b=,,comment\r\nlonger=\"quoted value\"\r\n"
                            "=no key\r\nno equals\r\nlo=late\r\nLO=later\r\nzz=" +
                            QByteArray(3000, 'v') + "\r\n[Parameter]\r\nb=second\r\nlo=other";
    const PrivateProfileText ini(text);
    for (int listSize : {0, 1, 3, 5, 9, 10, 12, 13, 16384}) {
        for (int valueSize : {0, 1, 4, 1000}) {
            SCOPED_TRACE(testing::Message() << listSize << " " << valueSize);
            EXPECT_EQ(ini.readSection("Parameter", listSize, valueSize),
                      keyByKey(ini, "Parameter", listSize, valueSize));
        }
    }
    // The listing cuts "longer" to "lo", which names the later key, not the cut one.
    const auto cut = ini.readSection("PARAMETER", 10, 100);
    ASSERT_EQ(cut.size(), 4);
    EXPECT_EQ(cut[3], (std::pair<QByteArray, QByteArray>{"lo", "late"}));
    EXPECT_EQ(cut[1], (std::pair<QByteArray, QByteArray>{"B", ",,1"}));
}

TEST(PrivateProfileText, ManyKeysAndAHugeCommentSectionReadAlike)
{
    // Enough keys to overrun the listing buffer, behind a large section of comments.
    QByteArray text = "[Notes]\n";
    for (int i = 0; i < 20000; ++i)
        text += "; a comment line that says nothing at all, again and again\n";
    text += "[Parameter]\n";
    for (int i = 0; i < 3000; ++i)
        text += "key" + QByteArray::number(i) + "=,," + QByteArray::number(i * 7) + "\n";
    const PrivateProfileText ini(text);
    const auto entries = ini.readSection("Parameter", 16384, 1000);
    EXPECT_EQ(entries, keyByKey(ini, "Parameter", 16384, 1000));
    ASSERT_GT(entries.size(), 1000);
    EXPECT_LT(entries.size(), 3000);
    EXPECT_EQ(entries[1234], (std::pair<QByteArray, QByteArray>{"key1234", ",,8638"}));
}

} // namespace
