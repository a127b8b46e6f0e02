#pragma once

#include "DesktopNotifier.h"

#include <QObject>
#include <QSet>
#include <QString>

class CCellListCtrl;
class QWidget;

// Tells the desktop how a batch went when it ends while the main window is not the active
// window (the user works elsewhere during a long batch): how many rows completed and failed.
// A row counts when its Status cell showed a progress bar during the batch; its final text
// ("Completed" or "Fail") decides. Threads: UI thread only.
class CBatchEndNotice : public QObject
{
public:
    // Watches `list`'s Status column `statusColumn`; `window` is the main window.
    CBatchEndNotice(QWidget* window, CCellListCtrl* list, int statusColumn);

    // A batch has started: counting begins.
    void BatchStarted();
    // The batch has ended: sends the notice when the window is in the background. True when
    // a notice went out to the desktop.
    bool BatchEnded();

    // The notice's text, e.g. "3 completed, 1 failed".
    static QString Body(int completed, int failed);

private:
    QWidget* m_window;
    CCellListCtrl* m_list;
    int m_column;
    bool m_counting = false;
    QSet<int> m_rows; // rows that converted in this batch
    DesktopNotifier m_notifier;
};
