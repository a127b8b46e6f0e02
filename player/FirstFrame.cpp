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
    const quint64 read = ++m_read;
    m_player = std::make_unique<QMediaPlayer>(this);
    m_sink = new QVideoSink(m_player.get());
    m_player->setVideoSink(m_sink);
    // The sink may report from the decoder's thread, so its frames come over queued; one may
    // still be queued when its read has been dropped and another begun.
    m_frames = connect(
        m_sink, &QVideoSink::videoFrameChanged, m_sink,
        [this, read](const QVideoFrame& frame) {
            if (read != m_read || !frame.isValid())
                return;
            const QImage picture = frame.toImage();
            if (picture.isNull())
                return;
            const QString path = m_path;
            drop(true);
            emit ready(path, picture);
        },
        Qt::QueuedConnection);
    m_status = connect(
        m_player.get(), &QMediaPlayer::mediaStatusChanged, m_sink,
        [this, read](QMediaPlayer::MediaStatus status) {
            if (read != m_read)
                return;
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
    ++m_read;
    if (!m_player)
        return;
    disconnect(m_frames);
    disconnect(m_status);
    m_player->stop();
    m_sink = nullptr;
    // From inside the sink's own call the player goes once that call has returned.
    if (later)
        m_player.release()->deleteLater();
    else
        m_player.reset();
}
