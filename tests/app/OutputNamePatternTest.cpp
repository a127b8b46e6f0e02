#include "OutputNamePattern.h"
#include "ConversionJob.h"
#include "Profile.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(OutputNamePattern, EachFieldNamesTheOutputAndABadPatternIsRefusedWithItsReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("May trip"));
    const QString input = dir.path() + "/May trip/VID {ext}.b.mov";
    ASSERT_TRUE(TestMedia::writeFile(input, "x"));
    {
        QFile file(input);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2024, 5, 17), QTime(9, 0)),
                                     QFileDevice::FileModificationTime));
    }
    ConversionJob job;
    job.inputPath = input;
    job.profile = std::make_unique<Profile>();
    job.profile->extName = "mp4";
    job.profile->sName = "MP4 H.264/CRF";
    ProfileOption crf;
    crf.name = "crf";
    crf.value = "23";
    job.profile->options.push_back(crf);

    EXPECT_EQ(OutputNamePattern().nameFor(job, 0), "VID {ext}.b");
    EXPECT_EQ(
        OutputNamePattern("{parent} {date} {n} {name}.{ext} {profile} q{crf}").nameFor(job, 4),
        "May trip 2024-05-17 5 VID {ext}.b.mp4 MP4 H.264-CRF q23");
    // A pattern that comes out empty or all dots falls back to the input's own name.
    job.profile->options.clear();
    EXPECT_EQ(OutputNamePattern("{crf}").nameFor(job, 0), "VID {ext}.b");

    for (const char* bad : {"", "  ", "{name}/x", "{title}", "{name", "..", "x}"})
        EXPECT_FALSE(OutputNamePattern::problem(bad).isEmpty()) << bad;
    EXPECT_TRUE(OutputNamePattern::problem("{title}").contains("{title} is not a field"));
    EXPECT_TRUE(OutputNamePattern::problem("{name}-{n}").isEmpty());
    EXPECT_TRUE(OutputNamePattern("{title}").isDefault()) << "a refused pattern names as before";
}
