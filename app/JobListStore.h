#pragma once

#include "QualityVerdict.h"
#include "RowState.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

// The job list kept on disk between a crash and the next start: one file in a folder the
// caller chooses, written whole and atomically (a temporary file renamed over the old one), so
// a crash while writing leaves the previous list, never half of one.
// Threads: whoever owns it; it touches only its own file.
class JobListStore
{
public:
    // One row as the user left it. A row that was converting is kept as "Ready" and checked.
    struct Row
    {
        QString inputPath;
        QByteArray profileName;                      // catalogue name of the row's profile
        QList<QPair<QByteArray, QByteArray>> values; // option name and value, as edited
        bool checked = true;
        RowState state = RowState::Ready; // kept by name; never Converting
        QString subfolder;                // the job's output sub-folder; kept when not empty
        QualityVerdict verdict;           // of its last conversion; empty when none
    };

    // The rows with the output box's text as the user left it (empty: the box was empty, or
    // a list kept before the box was).
    struct Kept
    {
        QList<Row> rows;
        QString outputBox;
    };

    enum Found
    {
        Nothing, // no file: the last run ended normally (or never kept a list)
        List,    // a list was read
        Damaged  // a file is there but is not a job list this program wrote
    };

    // Keeps its file, "joblist.json", in `folder` (with or without a trailing separator).
    explicit JobListStore(const QString& folder);

    QString path() const { return m_path; }

    // Writes `list` in place of the kept list; false when the file could not be written (the
    // previous one then stays as it was).
    bool save(const Kept& list) const;
    // The list in the file's form; `save` writes these bytes.
    static QByteArray encode(const Kept& list);
    // The list of `bytes`; none when they are not a job list of this program (a status other
    // than the four a kept row can have included).
    static std::optional<Kept> decode(const QByteArray& bytes);
    // Writes bytes made by encode; false when the file could not be written.
    bool saveEncoded(const QByteArray& bytes) const;

    // Reads the kept list into `list`.
    Found load(Kept& list) const;
    // Moves a damaged file out of the way under a name of its own and returns that name; empty
    // when it could not be moved (it is then deleted, so that it is reported only once).
    QString setAside() const;
    // Deletes the kept list (a normal exit); true when no file is left.
    bool remove() const;

private:
    QString m_path;
};
