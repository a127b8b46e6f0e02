#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <memory>

class QAudioOutput;
class QMediaPlayer;
class QVideoWidget;
class QWidget;

// One media file's playback through Qt Multimedia: the player, its audio output and a video
// view placed inside an owner widget, driven by thin commands each guarded by the player's
// state. Loading is asynchronous, so the duration may be unknown for a while after opening.
// End of media and errors are queued as events and announced to the notify window.
// Threads: everything here, the player's signals included, lives on the UI thread.
class PlaybackGraph : public QObject
{
    Q_OBJECT
public:
    // Codes of the queued events (the values of their DirectShow counterparts).
    enum EventCode
    {
        EventComplete = 1,   // the end of the media was reached
        EventErrorAbort = 3, // the player gave up on the file
    };

    // An empty graph; Create makes the player.
    PlaybackGraph();
    // Releases everything, as ReleaseAll does.
    ~PlaybackGraph() override;

    // Makes the player and its audio output; false, changing nothing, when they exist already.
    virtual bool Create();
    // Stops and destroys the player, the video view (unparenting it from its owner) and the
    // audio output; pending events are dropped.
    virtual void ReleaseAll();

    // Gives the player `path`; false without a player or when the file is plainly unusable.
    bool RenderFile(const QString& path);
    // Places a video view filling `owner` (following its size); the view shows only once the
    // media turns out to carry video. False without a player.
    bool AttachVideoWindow(QWidget* owner);
    // Calls `onEvents` on `window`'s thread, queued, whenever events are waiting; a null
    // window cancels the notification. False without a player.
    bool SetNotifyWindow(QObject* window, std::function<void()> onEvents);

    // Start, hold or end playback; true at once when already in that state.
    bool Run();
    bool Pause();
    bool Stop();
    // The player's own playback state; false without a player.
    bool IsRunning() const;
    bool IsPaused() const;
    bool IsStopped() const;

    // The media's length in seconds; false, leaving `seconds` untouched, while unknown.
    bool Duration(double& seconds) const;
    // The playback position in seconds; false, leaving `seconds` untouched, when the file is
    // not (or not any longer) playable.
    bool CurrentPosition(double& seconds) const;
    // Moves to `seconds` (truncated to whole milliseconds); false when the media cannot seek.
    // A preview that ran to its end runs on from the new position.
    bool Seek(double seconds);

    // Takes the oldest queued event's code; false when none waits.
    bool GetEvent(int& code);

    // The video view inside the owner, or null; for the owner's layout and for tests.
    QWidget* videoWindow() const;

signals:
    // Emitted whenever an event has been queued (drives the notify window's call-back).
    void eventQueued();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void queueEvent(int code);
    void fitVideoWindow();

    std::unique_ptr<QMediaPlayer> m_pPlayer;
    std::unique_ptr<QAudioOutput> m_pAudio;
    QPointer<QVideoWidget> m_pVideo; // child of the owner; guarded in case the owner goes first
    QPointer<QWidget> m_pOwner;
    QMetaObject::Connection m_notify;
    std::deque<int> m_events;
    bool m_bRunRequested = false; // the last command was Run (kept through end of media)
};
