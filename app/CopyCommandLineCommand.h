#pragma once

#include "OutputNamePattern.h"

#include <QObject>
#include <functional>

class CJobList;
struct EncoderSetup;
class JobModel;
class QAction;
class QMenu;

// The pop-up menu's Copy Command Line: enabled when a selected row converts through the tool,
// it puts one shell line per such row on the clipboard, in the list's order, with the output
// path a batch started now would use. Threads: UI thread only.
class CopyCommandLineCommand : public QObject
{
public:
    struct Parts
    {
        CJobList* jobs = nullptr;
        const JobModel* model = nullptr;
        const EncoderSetup* setup = nullptr;   // the tool's folder and its script's, read when used
        std::function<QString()> outputFolder; // as the batch would write to it
        std::function<OutputNamePattern()> naming; // the batch's
    };

    // Drives `entry` of `popup`.
    CopyCommandLineCommand(QAction* entry, QMenu* popup, Parts parts, QObject* parent);

private:
    void update();
    void copy();

    QAction* m_entry;
    Parts m_parts;
};
