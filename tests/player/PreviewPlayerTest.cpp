#include "PreviewPlayer.h"
#include "PlayerClips.h"

#include <QTimer>
#include <QVideoSink>
#include <QVideoWidget>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class PreviewPlayerFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { clips = std::make_unique<PlayerClips>(); }
    static void TearDownTestSuite() { clips.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(clips->made);
        owner.resize(320, 240);
        owner.show();
    }

    double position()
    {
        double seconds = -1.0;
        player.CurrentPosition(seconds);
        return seconds;
    }

    static std::unique_ptr<PlayerClips> clips;
    QWidget owner;
    QObject notify;
    PreviewPlayer player;
};

std::unique_ptr<PlayerClips> PreviewPlayerFixture::clips;

} // namespace

TEST_F(PreviewPlayerFixture, VideoOpensPausedPlaysPausesSeeksAndCloses)
{
    player.Open(clips->video, &owner, &notify);
    PlaybackGraph* graph = player.graph();
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(graph->IsPaused());
    double duration = -1.0;
    ASSERT_TRUE(waitFor([&] { return player.Duration(duration); }));
    EXPECT_NEAR(duration, 3.0, 0.2);

    // The first frame shows inside the owner before playback starts.
    auto* video = qobject_cast<QVideoWidget*>(graph->videoWindow());
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->parentWidget(), &owner);
    int frames = 0;
    QObject::connect(video->videoSink(), &QVideoSink::videoFrameChanged, &notify,
                     [&frames] { ++frames; });
    EXPECT_TRUE(waitFor([&] { return video->isVisible(); }));

    player.Play();
    EXPECT_TRUE(graph->IsRunning());
    EXPECT_TRUE(graph->Run());
    EXPECT_TRUE(waitFor([&] { return position() > 0.5; }));
    EXPECT_GT(frames, 0);

    player.Pause();
    EXPECT_TRUE(graph->IsPaused());
    ASSERT_TRUE(player.Seek(1.5));
    EXPECT_FALSE(player.Seek(-1.0));
    EXPECT_FALSE(player.Seek(std::nan("")));
    EXPECT_TRUE(waitFor([&] { return qAbs(position() - 1.5) < 0.05; }));
    QTimer clock;
    clock.start(100);
    ASSERT_TRUE(waitTicks(clock, 4));
    EXPECT_NEAR(position(), 1.5, 0.05) << "a paused preview must hold its position";

    owner.resize(400, 300);
    EXPECT_EQ(video->geometry(), owner.contentsRect());
    const QPointer<QVideoWidget> view(video);
    EXPECT_EQ(player.Close(), 1);
    EXPECT_EQ(player.graph(), nullptr);
    EXPECT_TRUE(view.isNull()) << "the owner's own picture returns once the graph is gone";
    EXPECT_EQ(player.Close(), 1);
    double untouched = 7.0;
    EXPECT_FALSE(player.Duration(untouched) || player.CurrentPosition(untouched));
    EXPECT_EQ(untouched, 7.0);
}

TEST_F(PreviewPlayerFixture, UnplayableFilesDoNothingQuietly)
{
    for (const QString& path : {clips->broken, clips->missing}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(player.Open(path, &owner, &notify), 1);
        EXPECT_EQ(player.Play(), 1);
        double seconds = 7.0;
        EXPECT_TRUE(waitFor([&] { return !player.CurrentPosition(seconds); }));
        seconds = 7.0;
        EXPECT_FALSE(player.CurrentPosition(seconds) || player.Duration(seconds));
        EXPECT_EQ(seconds, 7.0);
        EXPECT_FALSE(player.Seek(1.0));
        EXPECT_FALSE(player.graph()->videoWindow()->isVisible());
        EXPECT_EQ(player.HandleGraphEvents(), 1);
    }
}
