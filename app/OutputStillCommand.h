#pragma once

#include <QObject>
#include <QTimer>

class CJobList;
class CParamTree;
class CPreviewPanel;
class JobModel;
class OutputStill;
class QAction;
class QItemSelectionModel;
class QMenu;
class QWidget;

// The pop-up menu's "Preview &Output Frame" (F8 in the window): the preview panel shows the
// selected row's source at the preview's moment beside the picture its conversion would make
// there, as the tool makes it (OutputStill). Moving the slider, ending an edit of the row's
// options or selecting another row asks for a new picture; an answer to an older request is
// dropped. Chosen again, or Esc, goes back to the plain preview. Threads: UI thread only.
class OutputStillCommand : public QObject
{
public:
    struct Parts
    {
        CJobList* jobs = nullptr;
        const JobModel* model = nullptr;
        CPreviewPanel* preview = nullptr;
        OutputStill* still = nullptr;
        CParamTree* editor = nullptr;             // its ended edits change the picture
        QItemSelectionModel* selection = nullptr; // the job list's
    };

    static constexpr int kCommandId = 32806;
    // A drag of the slider asks once it rests this long: each request restarts the tool.
    static constexpr int kSettleMs = 150;

    // Adds the entry to `popup` before `before` and its key to `window`.
    OutputStillCommand(QMenu* popup, QAction* before, QWidget* window, Parts parts,
                       QObject* parent);

    QAction* action() const { return m_entry; }

private:
    // The one selected row that may have an output picture; -1 when none may.
    int stillRow() const;
    void toggle();
    // Asks for the selected row's picture at m_moment.
    void ask();
    void followSelection();

    QAction* m_entry;
    Parts m_parts;
    QTimer m_settle;
    double m_moment = 0;
    quint64 m_asked = 0; // the request whose answer is shown
};
