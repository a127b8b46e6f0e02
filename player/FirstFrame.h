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

    std::unique_ptr<QMediaPlayer> m_player;
    QVideoSink* m_sink = nullptr; // owned by m_player
    QString m_path;
};
