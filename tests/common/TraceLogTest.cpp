#include "CTraceLog.h"
#include "TestMedia.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TraceLog, KeepsEveryWriteOfARunUnchangedAndANewRunEmptiesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("trace.log");
    ASSERT_TRUE(TestMedia::writeFile(path, "left over from an earlier run\r\n"));
    {
        CTraceLog log(path);
        log.write("encode ffmpeg-converter -i \"/in/100% %s %n.avi\"\r\n");
        // Flushed at once: readable before the log goes away.
        EXPECT_EQ(TestMedia::readFile(path),
                  "encode ffmpeg-converter -i \"/in/100% %s %n.avi\"\r\n");
        log.write("second");
        log.write(QByteArray());
    }
    EXPECT_EQ(TestMedia::readFile(path),
              "encode ffmpeg-converter -i \"/in/100% %s %n.avi\"\r\nsecond");

    CTraceLog nextRun(path);
    // Untouched until the first write of the new run.
    EXPECT_TRUE(TestMedia::readFile(path).endsWith("second"));
    nextRun.write("new run");
    EXPECT_EQ(TestMedia::readFile(path), "new run");
}

TEST(TraceLog, AFailedOpenIsRetriedAtTheNextWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("later/trace.log");
    CTraceLog log(path);
    log.write("lost");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("later")));
    log.write("kept");
    EXPECT_EQ(TestMedia::readFile(path), "kept");
}
