#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QProcess;
struct ConversionJob;

// One picture of a row as its conversion would make it (cropped, deinterlaced, scaled, shaped):
// the encoder tool runs the row's own conversion command, as the batch writes it, with a PNG in
// a temporary folder for its output and the moment asked through the environment. The tool runs
// asynchronously and is ended after kTimeLimitMs; a newer request ends the one under way, whose
// answer is never given. Threads: the thread that owns it (the UI thread), whose event loop
// brings the answers.
class OutputStill : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTimeLimitMs = 60000;

    // `appFolder` holds the encoder tool.
    explicit OutputStill(const QString& appFolder, QObject* parent = nullptr);
    // Ends a request under way.
    ~OutputStill() override;

    // Why `job` has no still (a RealMedia row, no moving picture, a picture copied or left out);
    // empty when it may have one.
    static QString unavailable(const ConversionJob& job);
    // Asks for `job`'s picture `seconds` into its source and ends the request under way; returns
    // the request's number. The answer (`ready` or `failed`) comes later, from the event loop.
    quint64 request(const ConversionJob& job, double seconds);
    // Ends the request under way unanswered.
    void cancel();
    // True while a request runs.
    bool busy() const { return m_tool != nullptr; }

signals:
    // Request `id` gave the PNG at `path` (kept until the next request) of the frame size the
    // conversion writes, `frame`.
    void ready(quint64 id, const QString& path, QSize frame);
    // Request `id` gave no picture; `reason` says why in one line.
    void failed(quint64 id, const QString& reason);

private:
    void finish(quint64 id, bool timedOut);
    void refuse(quint64 id, const QString& reason);

    QString m_appFolder;
    QTemporaryDir m_folder;
    QProcess* m_tool = nullptr; // the request under way, a child
    quint64 m_last = 0;         // the number of the newest request
};
