#pragma once

#include <QObject>
#include <functional>

class CJobList;
class CPreviewPanel;
class JobModel;
class QAction;
class QMenu;
class QWidget;

// The pop-up menu's "Compare with Source" (F7 in the window): for the selected row, once it
// has completed and its output is still there, the preview panel shows the output with its
// source; chosen again, or Esc, goes back to the plain preview. Threads: UI thread only.
class CompareCommand : public QObject
{
public:
    struct Parts
    {
        CJobList* jobs = nullptr;
        const JobModel* model = nullptr;
        CPreviewPanel* preview = nullptr;
        std::function<QString(int row)> verdict; // shown with the pictures; may be empty
    };

    static constexpr int kCommandId = 32805;

    // Adds the entry to `popup` before `before` and its key to `window`.
    CompareCommand(QMenu* popup, QAction* before, QWidget* window, Parts parts, QObject* parent);

    QAction* action() const { return m_entry; }

private:
    // The selected row that can be compared; -1 when none can.
    int comparableRow() const;
    void toggle();

    QAction* m_entry;
    Parts m_parts;
};
