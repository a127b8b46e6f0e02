#pragma once

#include "DesktopNotifier.h"

#include <QObject>
#include <QSet>
#include <QString>

class JobModel;
class QWidget;
struct ConversionJob;

// Tells the desktop how a batch went when it ends while the main window is not the active
// window (the user works elsewhere during a long batch): how many rows completed and failed.
// A row counts when it was converting during the batch; its final state decides.
// Threads: UI thread only.
class CBatchEndNotice : public QObject
{
public:
    // Watches the rows of `model`; `window` is the main window.
    CBatchEndNotice(QWidget* window, const JobModel& model);

    // A batch has started: counting begins.
    void BatchStarted();
    // The batch has ended: sends the notice when the window is in the background. True when
    // a notice went out to the desktop.
    bool BatchEnded();

    // The notice's text, e.g. "3 completed, 1 failed"; `low` of the completed measured below
    // the least quality asked for.
    static QString Body(int completed, int failed, int skipped = 0, int low = 0);

private:
    QWidget* m_window;
    const JobModel& m_model;
    bool m_counting = false;
    QSet<const ConversionJob*> m_rows; // rows that converted in this batch
    DesktopNotifier m_notifier;
};
