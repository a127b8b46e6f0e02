#include "CPreviewPanel.h"
#include "PlayerClips.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QVideoWidget>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

class PreviewPanelFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { clips = std::make_unique<PlayerClips>(); }
    static void TearDownTestSuite() { clips.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(clips->made);
        dialog.resize(400, 340);
        panel = new CPreviewPanel(&dialog);
        panel->setSelectedPath([this] { return selected; });
        picture = static_cast<QLabel*>(panel->control(CPreviewPanel::kPictureId));
        slider = static_cast<QSlider*>(panel->control(CPreviewPanel::kSliderId));
        time = static_cast<QLabel*>(panel->control(CPreviewPanel::kTimeId));
        picture->resize(320, 240);
        dialog.show();
    }

    QAbstractButton* button(int id) { return static_cast<QAbstractButton*>(panel->control(id)); }
    double position()
    {
        double seconds = -1.0;
        panel->player().CurrentPosition(seconds);
        return seconds;
    }
    bool videoShown() const
    {
        const auto views = picture->findChildren<QVideoWidget*>();
        return !views.isEmpty() && views.first()->isVisible();
    }
    bool isIdle() const
    {
        return panel->state() == CPreviewPanel::Idle && slider->value() == 0 &&
               time->text() == "00:00:00" && !panel->player().graph() &&
               picture->findChildren<QVideoWidget*>().isEmpty();
    }

    static std::unique_ptr<PlayerClips> clips;
    QWidget dialog;
    CPreviewPanel* panel = nullptr;
    QLabel* picture = nullptr;
    QSlider* slider = nullptr;
    QLabel* time = nullptr;
    QString selected;
};

std::unique_ptr<PlayerClips> PreviewPanelFixture::clips;

} // namespace

TEST_F(PreviewPanelFixture, ControlsAreTaggedNamedAndIdleCommandsDoNothing)
{
    for (int id : {1046, 1047, 1048, 1050, 1052, 1053}) {
        QWidget* control = panel->control(id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_EQ(control->parentWidget(), &dialog);
        EXPECT_EQ(control->property("controlId").toInt(), id);
        EXPECT_FALSE(control->accessibleName().isEmpty()) << id;
    }

    // Nothing chosen yet: Play, Pause and Stop change nothing.
    button(1046)->click();
    panel->action(CPreviewPanel::kPauseCommand)->trigger();
    panel->StopPreview();
    EXPECT_TRUE(isIdle());
}

TEST_F(PreviewPanelFixture, PlayPauseSeekResumeStopAndReplay)
{
    selected = clips->video;
    button(CPreviewPanel::kPlayId)->click();
    EXPECT_EQ(panel->state(), CPreviewPanel::Playing);
    EXPECT_EQ(panel->previewPath(), clips->video);
    // The duration comes in after loading; the file loops, so each step comes round again.
    ASSERT_TRUE(waitFor([&] { return slider->value() > 0; }));
    ASSERT_TRUE(waitFor([&] { return time->text() == "00:00:01"; }));
    EXPECT_NEAR(panel->duration(), 3.0, 0.2);
    EXPECT_TRUE(videoShown());

    // While the thumb is held, playback does not pull it away from the user.
    slider->setSliderDown(true);
    slider->setSliderPosition(20);
    ASSERT_TRUE(waitTicks(panel->positionTimer(), 4));
    EXPECT_EQ(slider->value(), 20);
    slider->setSliderDown(false);

    panel->action(CPreviewPanel::kPauseCommand)->trigger();
    EXPECT_EQ(panel->state(), CPreviewPanel::Paused);
    const int held = slider->value();
    EXPECT_FALSE(panel->positionTimer().isActive());
    // The panel's timer is stopped now; a clock of the same pace stands in for the ticks it
    // would have made.
    QTimer clock;
    clock.start(CPreviewPanel::kTimerInterval);
    ASSERT_TRUE(waitTicks(clock, 4));
    EXPECT_EQ(slider->value(), held);

    // Moving the slider seeks even while paused, and the label follows.
    slider->setSliderPosition(50);
    EXPECT_EQ(time->text(), "00:00:01");
    EXPECT_TRUE(waitFor([&] { return qAbs(position() - 1.5) < 0.1; }));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(time->text(), "00:00:00");
    EXPECT_TRUE(waitFor([&] { return position() < 0.1; }));

    button(CPreviewPanel::kPlayId)->setFocus();
    QTest::keyClick(button(CPreviewPanel::kPlayId), Qt::Key_Space);
    EXPECT_EQ(panel->state(), CPreviewPanel::Playing);
    EXPECT_TRUE(waitFor([&] { return time->text() == "00:00:01"; }));

    button(CPreviewPanel::kStopId)->click();
    EXPECT_TRUE(isIdle());

    // No row selected: Play replays the file previewed last.
    selected.clear();
    panel->action(CPreviewPanel::kPlayCommand)->trigger();
    EXPECT_EQ(panel->state(), CPreviewPanel::Playing);
    EXPECT_EQ(panel->player().path(), clips->video);
    panel->StopPreview();
    EXPECT_TRUE(isIdle());
}

TEST_F(PreviewPanelFixture, AnotherRowStopsTheFirstFileAndTheEndLoops)
{
    selected = clips->video;
    panel->OnPlayPreview();
    ASSERT_TRUE(waitFor([&] { return videoShown() && slider->value() > 0; }));

    selected = clips->audio;
    panel->OnPlayPreview();
    EXPECT_EQ(panel->state(), CPreviewPanel::Playing);
    EXPECT_EQ(panel->player().path(), clips->audio);
    EXPECT_FALSE(videoShown()) << "a sound-only file leaves the idle picture";

    ASSERT_TRUE(waitFor([&] { return panel->duration() > 0.0; }));
    slider->setSliderPosition(90);
    ASSERT_TRUE(waitFor([&] { return slider->value() >= 90 && position() >= 2.6; }));
    EXPECT_TRUE(waitFor([&] { return slider->value() < 30; })) << "no loop at the end";
    EXPECT_EQ(panel->state(), CPreviewPanel::Playing);
    EXPECT_TRUE(waitFor([&] { return slider->value() > 10; }));
}

TEST_F(PreviewPanelFixture, UnplayableFileKeepsTheIdleFaceAndStopsFromAnotherThread)
{
    selected = clips->broken;
    panel->OnPlayPreview();
    EXPECT_EQ(panel->state(), CPreviewPanel::Playing);
    double seconds = 0.0;
    ASSERT_TRUE(waitFor([&] { return !panel->player().CurrentPosition(seconds); }));
    ASSERT_TRUE(waitTicks(panel->positionTimer(), 4));
    EXPECT_EQ(slider->value(), 0);
    EXPECT_EQ(time->text(), "00:00:00");
    EXPECT_FALSE(videoShown());
    slider->setSliderPosition(60);
    EXPECT_EQ(time->text(), "00:00:00");
    EXPECT_TRUE(waitFor([&] { return slider->value() == 0; }));

    std::thread worker([this] { panel->StopPreview(); });
    worker.join();
    EXPECT_TRUE(waitFor([&] { return isIdle(); }));
}
