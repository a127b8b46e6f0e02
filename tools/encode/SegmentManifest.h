#pragma once

#include "SegmentPlan.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The work folder of one conversion cut into segments and its manifest: what the segments are
// made from (the input's path, size and time, the whole translated command, the cuts) and which
// are finished (file and size). A folder made from anything else is emptied, never trusted; a
// segment is entered only once its encoder ended well and its file was checked, so a segment cut
// short is never reused. Main thread of the tool.
class SegmentManifest
{
public:
    // Whether a kept segment's file is sound (it reads back as video).
    using FileCheck = std::function<bool(const QString& path)>;

    // The folder of `output`, for `input` converted with `command` as `plan` would cut it.
    SegmentManifest(const QString& output, const QString& input, const QStringList& command);

    // Opens the folder: keeps what it holds when it was made from the same input and command,
    // taking its cuts over `plan`'s and the segments `check` passes; else starts it afresh with
    // `plan`. False, `why` set, when the folder cannot be made or written.
    bool open(const SegmentPlan& plan, const FileCheck& check, QString& why);

    const SegmentPlan& plan() const { return m_plan; }
    QString folder() const { return m_folder; }
    // The file of segment `i`, finished or not, and the one it is written to until it is.
    QString segmentFile(int i) const;
    QString partFile(int i) const;
    bool isDone(int i) const { return m_done.contains(i); }
    // Seconds of the source the finished segments hold.
    double doneSeconds() const;

    // Takes segment `i`'s finished part as its file and enters it. False, `why` set, when it
    // cannot be kept.
    bool finish(int i, QString& why);
    // Removes the whole folder (the conversion completed).
    void remove();

private:
    QJsonObject identity() const;
    bool save(QString& why) const;

    QString m_folder;
    QString m_input;
    QString m_extension;
    QStringList m_command;
    SegmentPlan m_plan;
    QList<int> m_done;
    QList<qint64> m_doneBytes;
};
