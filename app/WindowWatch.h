#pragma once

#include "OutputNamePattern.h"

#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>
#include <memory>

class CJobList;
class QAction;
class QWidget;
class CProfileManager;
class FolderWatch;
class JobModel;
class WatchRecord;
class WindowAdmissions;
struct ConversionJob;

// File › Watch Folder: the window's watch of one folder. Whenever no batch runs and nothing is
// being added, it looks at the folder; the media files that arrived (and, at first, those there
// with no output yet) join the list with the current profile and convert. What converted is
// recorded as tovel-cli --watch records it, so neither converts it again. Threads: UI thread.
class WindowWatch : public QObject
{
public:
    struct Parts
    {
        WindowAdmissions* admissions = nullptr;
        CJobList* jobs = nullptr;
        JobModel* model = nullptr;
        const CProfileManager* profiles = nullptr;
        QString stateFolder;
        std::function<bool()> idle;                // no batch, no admission, no pause
        std::function<void()> start;               // Encode
        std::function<QString()> outputFolder;     // as the batch would write to it
        std::function<OutputNamePattern()> naming; // the batch's
        std::function<QString()> pickFolder;       // asks the user; empty when cancelled
        QWidget* owner = nullptr;                  // of the messages
    };

    explicit WindowWatch(Parts parts, QObject* parent = nullptr);
    ~WindowWatch() override;

    // Watches `folder` from now on, in place of any other; said once when its record was
    // damaged (in `aside`'s words, as tovel-cli says it). False when it cannot be watched.
    bool watch(const QString& folder, QString& damagedNotice);
    // Ends the watch; the rows it added stay.
    void stop();
    // Makes `entry` the menu's Watch Folder: checked while a watch is on; chosen, it asks for a
    // folder to watch, or ends the watch that is on.
    void attach(QAction* entry);
    bool watching() const { return m_watch != nullptr; }
    QString folder() const;

private:
    void look();
    // True when `job` became a row.
    bool admitted(std::unique_ptr<ConversionJob> job);
    void rowChanged(int row, int changes);

    Parts m_parts;
    QTimer m_timer;
    std::unique_ptr<FolderWatch> m_watch;
    std::unique_ptr<WatchRecord> m_record;
    QSet<QString> m_added;   // the files of rows this watch added, until they are judged
    bool m_looking = false;  // an admission of arrivals runs
    bool m_startDue = false; // rows were added: Encode at the next idle look
};
