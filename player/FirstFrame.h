#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>

class QMediaPlayer;
class QVideoSink;

// Reads the first picture of a clip in the background, silently and without a video window,
// and hands it over once: what the stopped preview shows of the selected row. A file without
// pictures (sound only, unplayable) hands nothing over.
// Threads: UI thread; the decoder's frames reach it queued.
// Each read has a number of its own: a frame still on its way from an earlier read, which
// can arrive after another file's read has begun, is dropped, never shown as that file's.
class FirstFrame : public QObject
{
    Q_OBJECT
public:
    explicit FirstFrame(QObject* parent = nullptr);
    ~FirstFrame() override;

    // Starts reading `path`; a read still under way is dropped.
    void Read(const QString& path);
    // Drops the read under way, if any.
    void Cancel();
    // The file being read; empty when none is.
    QString path() const { return m_path; }

signals:
    // The first picture of `path`.
    void ready(const QString& path, const QImage& picture);

private:
    void drop(bool later);

    std::unique_ptr<QMediaPlayer> m_player; // a child, so that a dropped one outlives no reader
    QVideoSink* m_sink = nullptr;           // owned by m_player
    QMetaObject::Connection m_frames;
    QMetaObject::Connection m_status;
    QString m_path;
    quint64 m_read = 0; // the read under way; a frame of another is stale
};
