// How a video is cut and how the cut conversion's ffmpeg lines are made, without running them.
#include "SegmentPlan.h"
#include "SegmentCommands.h"

#include <gtest/gtest.h>

namespace {

QList<double> everySecond(int seconds)
{
    QList<double> times;
    for (int s = 0; s < seconds; ++s)
        times << s;
    return times;
}

const QStringList kWhole = {
    "-y",   "-i",          "file:in.mp4",  "-tag:v",          "hvc1",      "-f",      "mp4",
    "-c:v", "libx265",     "-x265-params", "log-level=error", "-metadata", "title=A", "-crf",
    "28",   "file:out.mp4"};

} // namespace

TEST(SegmentPlan, LanesFillTheProcessorsWithoutOversubscribing)
{
    EXPECT_EQ(SegmentPlan::lanesFor(1).lanes, 1);
    EXPECT_EQ(SegmentPlan::lanesFor(2).lanes * SegmentPlan::lanesFor(2).threads, 2);
    EXPECT_EQ(SegmentPlan::lanesFor(16).lanes * SegmentPlan::lanesFor(16).threads, 16);
    EXPECT_EQ(SegmentPlan::lanesFor(0).lanes, 1);
}

TEST(SegmentPlan, CutsAtKeyFramesAndRefusesWhatCannotBeTrusted)
{
    const SegmentPlan plan = SegmentPlan::make(120, everySecond(120), 2);
    ASSERT_TRUE(plan.refusal.isEmpty()) << plan.refusal.toStdString();
    // 120 s over two lanes: 6 s segments, shorter towards the end so both lanes end together.
    EXPECT_EQ(plan.end(0), 6.0);
    for (int i = 0; i + 1 < plan.count(); ++i) {
        EXPECT_DOUBLE_EQ(plan.end(i), plan.start(i + 1));
        EXPECT_LE(plan.end(i + 1) - plan.start(i + 1), plan.end(i) - plan.start(i) + 1) << i;
    }
    EXPECT_LE(120 - plan.start(plan.count() - 1), 8.0);
    EXPECT_EQ(plan.end(plan.count() - 1), 0.0); // the last runs to the end

    // A short last piece joins the one before it.
    const SegmentPlan test = SegmentPlan::make(7, everySecond(7), 2, 2);
    EXPECT_EQ(test.cuts, QList<double>({2, 4}));

    EXPECT_FALSE(SegmentPlan::make(30, everySecond(30), 2).refusal.isEmpty());  // short source
    EXPECT_FALSE(SegmentPlan::make(120, {0, 50, 40, 90}, 2).refusal.isEmpty()); // out of order
    EXPECT_FALSE(SegmentPlan::make(300, {0, 250}, 2).refusal.isEmpty());        // too sparse
    EXPECT_FALSE(SegmentPlan::make(120, {}, 2).refusal.isEmpty());
}

TEST(SegmentCommands, SegmentsJoinAndRefusals)
{
    const SegmentCommands commands(kWhole);
    ASSERT_TRUE(commands.refusal().isEmpty()) << commands.refusal().toStdString();
    const SegmentPlan plan = SegmentPlan::make(7, everySecond(7), 2, 2);

    const QStringList second = commands.segment(plan, 1, "/w/s1.mp4", 1);
    EXPECT_EQ(second.mid(0, 5), QStringList({"-y", "-ss", "1.999000", "-i", "file:in.mp4"}));
    EXPECT_TRUE(second.contains("log-level=error:pools=1"));
    EXPECT_EQ(second.mid(second.indexOf("-t"), 2), QStringList({"-t", "2.000000"}));
    EXPECT_TRUE(second.contains("-an"));
    EXPECT_EQ(second.last(), "file:/w/s1.mp4");
    EXPECT_FALSE(commands.segment(plan, plan.count() - 1, "/w/s.mp4", 1).contains("-t"));

    const QStringList join = commands.join("/w/list", "/w/rest.mp4");
    EXPECT_TRUE(join.contains("hvc1") && join.contains("title=A") && join.contains("copy"));
    EXPECT_FALSE(join.contains("libx265"));
    EXPECT_EQ(join.last(), "file:out.mp4");
    EXPECT_EQ(SegmentCommands::concatList(plan, {"a.mp4", "b.mp4", "c.mp4"}),
              "ffconcat version 1.0\nfile 'a.mp4'\nduration 2.000000\nfile 'b.mp4'\n"
              "duration 2.000000\nfile 'c.mp4'\n");

    QStringList rate = kWhole;
    rate.insert(3, "-r");
    rate.insert(4, "30");
    EXPECT_FALSE(SegmentCommands(rate).refusal().isEmpty());
    QStringList copy = kWhole;
    copy[copy.indexOf("libx265")] = "copy";
    EXPECT_FALSE(SegmentCommands(copy).refusal().isEmpty());
    QStringList avi = kWhole;
    avi[avi.indexOf("mp4")] = "avi";
    EXPECT_FALSE(SegmentCommands(avi).refusal().isEmpty());
    QStringList seek = kWhole;
    seek.insert(1, "-ss");
    seek.insert(2, "5");
    EXPECT_FALSE(SegmentCommands(seek).refusal().isEmpty());
}

TEST(SegmentCommands, ShownLinesQuoteWhatAShellWouldRead)
{
    EXPECT_EQ(SegmentCommands::displayText("/usr/bin/ffmpeg", {"-i", "file:a b';rm x.mp4"}),
              "/usr/bin/ffmpeg -i 'file:a b'\\'';rm x.mp4'");
}
