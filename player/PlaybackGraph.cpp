#include "PlaybackGraph.h"

#include <QAudioOutput>
#include <QEvent>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoWidget>

#include <cmath>

PlaybackGraph::PlaybackGraph() = default;

PlaybackGraph::~PlaybackGraph()
{
    PlaybackGraph::ReleaseAll();
}

bool PlaybackGraph::Create()
{
    if (m_pPlayer)
        return false;
    m_pPlayer = std::make_unique<QMediaPlayer>();
    // Without a sound device the output simply stays silent; the video still plays.
    m_pAudio = std::make_unique<QAudioOutput>();
    m_pPlayer->setAudioOutput(m_pAudio.get());
    connect(m_pPlayer.get(), &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::EndOfMedia)
                    queueEvent(EventComplete);
                else if (status == QMediaPlayer::InvalidMedia)
                    queueEvent(EventErrorAbort);
            });
    return true;
}

void PlaybackGraph::ReleaseAll()
{
    disconnect(m_notify);
    m_events.clear();
    m_bRunRequested = false;
    if (m_pOwner)
        m_pOwner->removeEventFilter(this);
    m_pOwner = nullptr;
    if (m_pPlayer) {
        m_pPlayer->disconnect(this);
        m_pPlayer->stop();
        m_pPlayer->setVideoOutput(nullptr);
        m_pPlayer->setAudioOutput(nullptr);
        m_pPlayer.reset();
    }
    if (m_pVideo) {
        m_pVideo->hide();
        delete m_pVideo;
    }
    m_pAudio.reset();
}

bool PlaybackGraph::RenderFile(const QString& path)
{
    if (!m_pPlayer || path.isEmpty())
        return false;
    m_pPlayer->setSource(QUrl::fromLocalFile(path));
    return m_pPlayer->mediaStatus() != QMediaPlayer::InvalidMedia;
}

bool PlaybackGraph::AttachVideoWindow(QWidget* owner)
{
    if (!m_pPlayer)
        return false;
    if (m_pOwner)
        m_pOwner->removeEventFilter(this);
    m_pPlayer->setVideoOutput(nullptr);
    delete m_pVideo;
    m_pOwner = owner;
    if (!owner)
        return true;
    m_pVideo = new QVideoWidget(owner);
    m_pVideo->setObjectName(QStringLiteral("previewVideo"));
    m_pVideo->setAccessibleName(QStringLiteral("Video"));
    m_pVideo->setFocusPolicy(Qt::NoFocus);
    fitVideoWindow();
    // Audio-only and unplayable files leave the owner's own picture in view.
    m_pVideo->setVisible(m_pPlayer->hasVideo());
    connect(m_pPlayer.get(), &QMediaPlayer::hasVideoChanged, m_pVideo.data(), &QWidget::setVisible);
    m_pPlayer->setVideoOutput(m_pVideo.data());
    owner->installEventFilter(this);
    return true;
}

bool PlaybackGraph::SetNotifyWindow(QObject* window, std::function<void()> onEvents)
{
    if (!m_pPlayer)
        return false;
    disconnect(m_notify);
    if (window && onEvents)
        m_notify = connect(this, &PlaybackGraph::eventQueued, window, std::move(onEvents),
                           Qt::QueuedConnection);
    return true;
}

bool PlaybackGraph::Run()
{
    if (!m_pPlayer)
        return false;
    m_bRunRequested = true;
    if (!IsRunning())
        m_pPlayer->play();
    return true;
}

bool PlaybackGraph::Pause()
{
    if (!m_pPlayer)
        return false;
    m_bRunRequested = false;
    if (!IsPaused())
        m_pPlayer->pause();
    return true;
}

bool PlaybackGraph::Stop()
{
    if (!m_pPlayer)
        return false;
    m_bRunRequested = false;
    if (!IsStopped())
        m_pPlayer->stop();
    return true;
}

bool PlaybackGraph::IsRunning() const
{
    return m_pPlayer && m_pPlayer->playbackState() == QMediaPlayer::PlayingState;
}

bool PlaybackGraph::IsPaused() const
{
    return m_pPlayer && m_pPlayer->playbackState() == QMediaPlayer::PausedState;
}

bool PlaybackGraph::IsStopped() const
{
    return m_pPlayer && m_pPlayer->playbackState() == QMediaPlayer::StoppedState;
}

bool PlaybackGraph::Duration(double& seconds) const
{
    if (!m_pPlayer)
        return false;
    const qint64 ms = m_pPlayer->duration();
    if (ms <= 0)
        return false;
    seconds = ms * 1e-3;
    return true;
}

bool PlaybackGraph::CurrentPosition(double& seconds) const
{
    if (!m_pPlayer)
        return false;
    const QMediaPlayer::MediaStatus status = m_pPlayer->mediaStatus();
    if (status == QMediaPlayer::NoMedia || status == QMediaPlayer::InvalidMedia)
        return false;
    seconds = m_pPlayer->position() * 1e-3;
    return true;
}

bool PlaybackGraph::Seek(double seconds)
{
    // The range check also keeps NaN and huge values away from the integer conversion.
    if (!m_pPlayer || !(seconds >= 0.0 && seconds < 1e12) || !m_pPlayer->isSeekable())
        return false;
    m_pPlayer->setPosition(static_cast<qint64>(std::trunc(seconds * 1000.0)));
    // Qt stops at the end of the media; a running preview goes on from the new position.
    if (m_bRunRequested && m_pPlayer->playbackState() == QMediaPlayer::StoppedState)
        m_pPlayer->play();
    return true;
}

bool PlaybackGraph::GetEvent(int& code)
{
    if (m_events.empty())
        return false;
    code = m_events.front();
    m_events.pop_front();
    return true;
}

QWidget* PlaybackGraph::videoWindow() const
{
    return m_pVideo.data();
}

bool PlaybackGraph::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pOwner && event->type() == QEvent::Resize)
        fitVideoWindow();
    return QObject::eventFilter(watched, event);
}

void PlaybackGraph::queueEvent(int code)
{
    m_events.push_back(code);
    emit eventQueued();
}

void PlaybackGraph::fitVideoWindow()
{
    if (m_pVideo && m_pOwner)
        m_pVideo->setGeometry(m_pOwner->contentsRect());
}
