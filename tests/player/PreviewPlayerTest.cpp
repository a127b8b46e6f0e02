#include "PreviewPlayer.h"
#include "PlayerClips.h"

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
    EXPECT_EQ(player.Open(clips->video, &owner, &notify), 1);
    PlaybackGraph* graph = player.graph();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(player.path(), clips->video);
    EXPECT_TRUE(graph->IsPaused());

    double duration = -1.0;
    ASSERT_TRUE(waitFor([&] { return player.Duration(duration); }));
    EXPECT_NEAR(duration, 3.0, 0.2);

    auto* video = qobject_cast<QVideoWidget*>(graph->videoWindow());
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->parentWidget(), &owner);
    EXPECT_EQ(video->geometry(), owner.contentsRect());
    int frames = 0;
    QObject::connect(video->videoSink(), &QVideoSink::videoFrameChanged, &notify,
                     [&frames] { ++frames; });
    EXPECT_TRUE(waitFor([&] { return video->isVisible(); }));

    EXPECT_EQ(player.Play(), 1);
    EXPECT_TRUE(graph->IsRunning());
    EXPECT_TRUE(graph->Run());
    EXPECT_TRUE(waitFor([&] { return position() > 0.5; }));
    EXPECT_GT(frames, 0);

    EXPECT_EQ(player.Pause(), 1);
    EXPECT_TRUE(graph->IsPaused());
    ASSERT_TRUE(player.Seek(1.5));
    EXPECT_TRUE(waitFor([&] { return qAbs(position() - 1.5) < 0.05; }));
    const double held = position();
    QTest::qWait(400);
    EXPECT_NEAR(position(), held, 0.05) << "a paused preview must hold its position";

    // The owner's own picture returns once the graph is gone.
    owner.resize(400, 300);
    EXPECT_EQ(video->geometry(), owner.contentsRect());
    const QPointer<QVideoWidget> view(video);
    EXPECT_EQ(player.Close(), 1);
    EXPECT_EQ(player.graph(), nullptr);
    EXPECT_TRUE(view.isNull());
    EXPECT_EQ(player.Close(), 1);
    double untouched = 7.0;
    EXPECT_FALSE(player.Duration(untouched));
    EXPECT_FALSE(player.CurrentPosition(untouched));
    EXPECT_EQ(untouched, 7.0);
    EXPECT_FALSE(player.Seek(1.0));
}

TEST_F(PreviewPlayerFixture, SoundOnlyPlaysWithoutShowingAVideoView)
{
    player.Open(clips->audio, &owner, &notify);
    player.Play();
    ASSERT_TRUE(waitFor([&] { return position() > 0.5; }));
    // The position may run ahead of the duration while the player is still loading.
    double duration = -1.0;
    EXPECT_TRUE(waitFor([&] { return player.Duration(duration); }));
    EXPECT_NEAR(duration, 3.0, 0.2);
    ASSERT_NE(player.graph()->videoWindow(), nullptr);
    EXPECT_FALSE(player.graph()->videoWindow()->isVisible());
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
        EXPECT_FALSE(player.CurrentPosition(seconds));
        EXPECT_FALSE(player.Duration(seconds));
        EXPECT_EQ(seconds, 7.0);
        EXPECT_FALSE(player.Seek(1.0));
        EXPECT_FALSE(player.graph()->videoWindow()->isVisible());
        EXPECT_EQ(player.HandleGraphEvents(), 1);
    }
}

TEST_F(PreviewPlayerFixture, EndOfMediaStartsAgainFromTheBeginning)
{
    player.Open(clips->video, &owner, &notify);
    player.Play();
    double duration = 0.0;
    ASSERT_TRUE(waitFor([&] { return player.Duration(duration) && player.Seek(duration - 0.4); }));
    ASSERT_TRUE(waitFor([&] { return position() >= duration - 0.4; }));
    EXPECT_TRUE(waitFor([&] { return position() < 1.0; })) << "no loop at the end";
    EXPECT_TRUE(waitFor([&] { return player.graph()->IsRunning() && position() > 0.3; }));
    EXPECT_LT(position(), duration - 0.5);
}

TEST_F(PreviewPlayerFixture, GuardedCommandsNeedAPlayer)
{
    PlaybackGraph graph;
    double seconds = 7.0;
    EXPECT_FALSE(graph.Run());
    EXPECT_FALSE(graph.IsStopped());
    EXPECT_FALSE(graph.AttachVideoWindow(&owner));
    EXPECT_FALSE(graph.Seek(1.0));
    EXPECT_FALSE(graph.Duration(seconds));
    EXPECT_TRUE(graph.Create());
    EXPECT_FALSE(graph.Create());
    EXPECT_TRUE(graph.IsStopped());
    EXPECT_TRUE(graph.Stop());
    EXPECT_FALSE(graph.RenderFile(QString()));
    EXPECT_FALSE(graph.Seek(-1.0));
    EXPECT_FALSE(graph.Seek(std::nan("")));
    EXPECT_EQ(seconds, 7.0);
}
