#include "OutputNaming.h"
#include "BatchDoubles.h"
#include "OutputFolder.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace OutputNaming;

namespace {

TEST(OutputNamingTest, BuildsTheOutputPathFromTheInputsName)
{
    struct Case
    {
        const char* input;
        const char* folder;
        const char* extension;
        const char* path;
        const char* base;
    };
    const Case cases[] = {
        {"/video/clip.avi", "/out", "mp4", "/out/clip.mp4", "/out/clip"},
        {"/video/clip.avi", "/out/", "mp4", "/out/clip.mp4", "/out/clip"}, // one separator
        {"/clip.final.avi", "/out", "mp4", "/out/clip.final.mp4", "/out/clip.final"},
        {"/a.b/movie", "/out", "mp4", "/out/movie.mp4", "/out/movie"}, // a dot only in a folder
        {"/video/clip", "/out", "mp4", "/out/clip.mp4", "/out/clip"},
        {"/video/.clip", "/out", "mp4", "/out/.clip.mp4", "/out/.clip"}, // a hidden file's dot
        {"/video/", "/out", "mp4", "", ""},
        {"/video/Clip.AVI", "/Out", "MP4", "/Out/Clip.MP4", "/Out/Clip"},
        {"/video/clip.avi", "/out", "", "/out/clip.", "/out/clip"},
        {"clip.avi", "/out", "3gp", "/out/clip.3gp", "/out/clip"},
        {"/in/-50% \"Ünï\" clip.mov", "/out dir", "flv", "/out dir/-50% \"Ünï\" clip.flv",
         "/out dir/-50% \"Ünï\" clip"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(BuildOutputPath(QString::fromUtf8(c.input), QString::fromUtf8(c.folder),
                                  QString::fromUtf8(c.extension)),
                  QString::fromUtf8(c.path));
        EXPECT_EQ(BuildOutputBase(QString::fromUtf8(c.input), QString::fromUtf8(c.folder)),
                  QString::fromUtf8(c.base));
    }
}

class AutoRenameTest : public ::testing::Test
{
protected:
    QTemporaryDir out;
    QString file(const QString& name) const { return out.path() + '/' + name; }
    QString form(bool overwrite = false) const
    {
        return FormOutputPath("/video/clip.avi", out.path(), "mp4", overwrite);
    }
};

TEST_F(AutoRenameTest, NumbersPastExistingFilesAndOverwriteTakesTheFirstName)
{
    EXPECT_EQ(form(), file("clip.mp4")); // nothing there yet
    ASSERT_TRUE(TestMedia::writeFile(file("clip.mp4"), "data"));
    EXPECT_EQ(form(), file("clip-0.mp4"));
    ASSERT_TRUE(TestMedia::writeFile(file("clip-0.mp4"), "data"));
    EXPECT_EQ(form(), file("clip-1.mp4"));
    EXPECT_EQ(form(true), file("clip.mp4"));
}

TEST_F(AutoRenameTest, AnEmptyFileIsReused)
{
    ASSERT_TRUE(TestMedia::writeFile(file("clip.mp4"), ""));
    EXPECT_EQ(form(), file("clip.mp4"));
}

TEST_F(AutoRenameTest, FoldersLinksAndHugeFilesAreNeverTakenForEmptyFiles)
{
    ASSERT_TRUE(QDir(out.path()).mkdir("clip.mp4"));
    ASSERT_TRUE(QFile::link(file("nowhere"), file("clip-0.mp4")));
    // 4 GiB exactly: its low 32 bits are 0. Sparse, so it costs no disk space.
    QFile huge(file("clip-1.mp4"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(qint64(1) << 32));
    huge.close();
    EXPECT_EQ(form(), file("clip-2.mp4"));
}

TEST_F(AutoRenameTest, AnInputWithoutADotIsNamedWholeAndRenamedAsAnyOther)
{
    EXPECT_EQ(FormOutputPath("/a.b/movie", out.path(), "mp4", false), file("movie.mp4"));
    ASSERT_TRUE(TestMedia::writeFile(file("movie.mp4"), "data"));
    EXPECT_EQ(FormOutputPath("/a.b/movie", out.path(), "mp4", false), file("movie-0.mp4"));
}

TEST(OutputPathFitsTest, RefusesWhatTheJobOrThePlatformCannotHold)
{
    EXPECT_TRUE(OutputPathFits(QString()));
    EXPECT_TRUE(OutputPathFits("/out/clip.mp4"));
    const QString name200(200, 'n');
    QString longest = "/out";
    while (longest.size() + 1 + 200 <= kMaxJobPathBytes)
        longest += '/' + name200;
    longest += '/' + QString(kMaxJobPathBytes - longest.size() - 1, 'x');
    ASSERT_EQ(longest.toLocal8Bit().size(), kMaxJobPathBytes);
    EXPECT_TRUE(OutputPathFits(longest));
    EXPECT_FALSE(OutputPathFits(longest + 'x'));
    EXPECT_TRUE(OutputPathFits("/out/" + QString(255, 'n')));
    EXPECT_FALSE(OutputPathFits("/out/" + QString(256, 'n')));
    // Bytes count, not characters: 128 two-byte letters make a 256-byte name.
    EXPECT_FALSE(OutputPathFits("/out/" + QString(128, QChar(0xe9))));
}

class OutputFolderTest : public ::testing::Test
{
protected:
    QTemporaryDir base;
    QString start = QDir::currentPath();
    void TearDown() override { QDir::setCurrent(start); }
    QString at(const QString& relative) const { return base.path() + '/' + relative; }
    static QString current() { return QDir::currentPath(); }
};

TEST_F(OutputFolderTest, CreatesMissingLevelsOneAtATimeAndLeavesTheCurrentFolder)
{
    EXPECT_EQ(MakeOutputFolder(at("new/deeper")), 0);
    EXPECT_TRUE(QFileInfo(at("new/deeper")).isDir());
    EXPECT_EQ(current(), start);
}

TEST_F(OutputFolderTest, AnExistingFolderIsLeftAsItIsAndNothingIsCreated)
{
    ASSERT_TRUE(QDir(base.path()).mkdir("out"));
    EXPECT_EQ(MakeOutputFolder(at("out/")), -1); // trailing separator
    EXPECT_EQ(current(), start);
    EXPECT_EQ(QDir(at("out")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
    EXPECT_EQ(MakeOutputFolder(at("out")), -1);
}

TEST_F(OutputFolderTest, RelativeFoldersGrowFromTheCurrentFolder)
{
    ASSERT_TRUE(QDir::setCurrent(base.path()));
    ASSERT_TRUE(QDir(base.path()).mkdir("a"));
    EXPECT_EQ(MakeOutputFolder("a/b/c"), 0);
    EXPECT_TRUE(QFileInfo(at("a/b/c")).isDir());
    EXPECT_EQ(current(), base.path());
}

TEST_F(OutputFolderTest, AFolderThatCannotBeMadeLeavesNoStrayFolderBehind)
{
    ASSERT_TRUE(TestMedia::writeFile(at("file"), "not a folder"));
    ASSERT_TRUE(QDir(base.path()).mkdir("elsewhere"));
    ASSERT_TRUE(QDir::setCurrent(at("elsewhere")));
    EXPECT_EQ(MakeOutputFolder(at("file/sub/leaf")), -1);
    EXPECT_EQ(QDir(base.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name),
              QStringList({"elsewhere", "file"}));
    EXPECT_EQ(QDir(at("elsewhere")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
}

} // namespace
