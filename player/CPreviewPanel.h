#pragma once

#include "CompareView.h"
#include "FirstFrame.h"
#include "PreviewPlayer.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

class CImageButton;

class QAction;
class QLabel;
class QSlider;
class QWidget;

// The main window's preview panel: a picture area where the selected file plays, a seek
// slider in percent of the duration, Play / Pause / Stop icon buttons and an elapsed-time
// label, plus the same three commands as actions for the job list's pop-up menu. The controls
// are children of the dialog, which places them; the panel keeps the preview state and a
// 100 ms timer that moves slider and label while playing.
// Threads: UI thread; StopPreview called from another thread is queued to the UI thread.
class CPreviewPanel : public QObject
{
    Q_OBJECT
public:
    enum PreviewState
    {
        Idle = 0,
        Playing = 1,
        Paused = 2,
    };

    // Control ids of the dialog template.
    static constexpr int kPlayId = 1046;
    static constexpr int kPauseId = 1047;
    static constexpr int kStopId = 1048;
    static constexpr int kSliderId = 1050;
    static constexpr int kPictureId = 1052;
    static constexpr int kTimeId = 1053;
    // Command ids of the pop-up menu's entries.
    static constexpr int kPlayCommand = 32793;
    static constexpr int kPauseCommand = 32796;
    static constexpr int kStopCommand = 32797;
    static constexpr int kTimerInterval = 100; // ms

    // The selected row's input path, empty when no row is selected.
    using SelectedPath = std::function<QString()>;

    // Creates the panel's controls as children of `dialog` (each with the dynamic property
    // "controlId"); the panel itself is a child of `dialog` as well.
    explicit CPreviewPanel(QWidget* dialog);
    // Ends a running preview.
    ~CPreviewPanel() override;

    // The control with dialog id `id` (see the k...Id constants), or null.
    QWidget* control(int id) const;
    // The pop-up menu's "&Play", "&Pause" or "&Stop" action for command `commandId`, or null.
    QAction* action(int commandId) const;
    // Tells the panel how to read the selected row's input path.
    void setSelectedPath(SelectedPath selectedPath);

    // Plays the selected row's file (stopping another file first); with no row selected,
    // replays the file previewed last. Resumes a paused preview.
    void OnPlayPreview();
    // Holds a playing preview.
    void OnPausePreview();
    // Ends a playing or paused preview: idle picture, slider 0, "00:00:00".
    void StopPreview();
    // The selection changed: once the current events are through, a preview that is not
    // playing shows the selected row's first frame (a still picture as itself) at slider 0
    // and "00:00:00", or the idle picture with no row selected. A playing preview goes on.
    void FollowSelection();
    // The file whose first frame or picture shows while stopped; empty for the idle picture.
    QString shownPath() const { return m_shownPath; }
    // True for a file that is a still picture rather than a clip.
    static bool IsStillPicture(const QString& path);

    // Shows `output` with its `source` in the picture area (CompareView), paused at the start,
    // `verdict` along the bottom; Play, Pause, the slider and its keys then move both. Ends a
    // preview that runs first.
    void Compare(const QString& source, const QString& output, const QString& verdict);
    // Shows `source` held at `seconds` beside the output picture SetOutputStill gives (the row's
    // conversion at that moment), paused; the slider then moves the source and asks for a new
    // output picture (stillMoved). Ends a preview that runs first.
    void ShowOutputStill(const QString& source, double seconds);
    // The output picture of the still on show, captioned `caption`; a null picture: none.
    void SetOutputStill(const QImage& picture, const QString& caption);
    // True while a still is on show.
    bool showsOutputStill() const;
    // Where the preview stands, in seconds: the playing or paused position, else 0.
    double moment() const;
    // Back to the plain preview, idle.
    void EndCompare();
    bool comparing() const;
    CompareView* compareView() const { return m_compare; }

    // Idle, Playing or Paused, as the commands left it.
    PreviewState state() const { return m_nPreviewState; }
    // The file last chosen for preview.
    QString previewPath() const { return m_strPreviewPath; }
    // The previewed file's duration in seconds; 0 while unknown.
    double duration() const { return m_dDuration; }
    // The player behind the panel (for the window's status and for tests).
    const PreviewPlayer& player() const { return m_player; }
    // The timer that moves slider and label; it runs only while playing (tests count its ticks).
    const QTimer& positionTimer() const { return m_timer; }

signals:
    // The user moved the slider while a still is on show: its output is wanted at `seconds`.
    void stillMoved(double seconds);

private:
    void OnTimer();
    void OnSliderMoved();
    void setTimeText(const QString& text);
    void showSelected();
    // Back to the idle picture with slider and label at their start.
    void showIdle();
    // The comparison's view over the picture area, made on first use.
    CompareView* compareArea();
    // Shows a still picture in the picture area; false when `path` is none.
    bool showStill(const QString& path);
    // Shows `image` letter-boxed in the picture area.
    void showImage(const QImage& image);
    // The position and duration of what plays, the comparison's included; false while unknown.
    bool currentPosition(double& seconds) const;
    void readDuration();

    QPointer<QLabel> m_picture;
    QPointer<QSlider> m_slider;
    QPointer<CImageButton> m_play;
    QPointer<CImageButton> m_pause;
    QPointer<CImageButton> m_stop;
    QPointer<QLabel> m_time;
    QAction* m_playAction = nullptr;
    QAction* m_pauseAction = nullptr;
    QAction* m_stopAction = nullptr;

    PreviewPlayer m_player;
    PreviewState m_nPreviewState = Idle;
    double m_dDuration = 0.0;
    QTimer m_timer;
    QString m_strPreviewPath;
    SelectedPath m_selectedPath;
    QTimer m_follow;     // gathers the selection changes of one event into one
    QString m_shownPath; // what FollowSelection put in view
    FirstFrame m_firstFrame;
    QPointer<CompareView> m_compare; // over the picture while comparing
};
