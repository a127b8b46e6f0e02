#include "FirstFrame.h"

#include <QMediaPlayer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

FirstFrame::FirstFrame(QObject* parent) : QObject(parent) {}

FirstFrame::~FirstFrame()
{
    Cancel();
}

void FirstFrame::Read(const QString& path)
{
    Cancel();
    m_path = path;
    m_player = std::make_unique<QMediaPlayer>();
    m_sink = new QVideoSink(m_player.get());
    m_player->setVideoSink(m_sink);
    // The sink may report from the decoder's thread, so its frames come over queued, to the
    // sink itself: what a dropped read still had on its way goes with it.
    connect(
        m_sink, &QVideoSink::videoFrameChanged, m_sink,
        [this](const QVideoFrame& frame) {
            if (m_path.isEmpty() || !frame.isValid())
                return;
            const QImage picture = frame.toImage();
            if (picture.isNull())
                return;
            const QString path = m_path;
            drop(true);
            emit ready(path, picture);
        },
        Qt::QueuedConnection);
    connect(
        m_player.get(), &QMediaPlayer::mediaStatusChanged, m_sink,
        [this](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia)
                drop(true);
        },
        Qt::QueuedConnection);
    m_player->setSource(QUrl::fromLocalFile(path));
    m_player->play(); // no audio output: nothing is heard
}

void FirstFrame::Cancel()
{
    drop(false);
}

void FirstFrame::drop(bool later)
{
    m_path.clear();
    if (!m_player)
        return;
    m_sink->disconnect(this);
    m_player->disconnect(m_sink);
    m_player->stop();
    m_sink = nullptr;
    // From inside the sink's own call the player goes once that call has returned.
    if (later)
        m_player.release()->deleteLater();
    else
        m_player.reset();
}
