#pragma once

#include <QObject>
#include <QString>
#include <memory>

class CConsoleWriter;
class JobModel;
struct ConversionJob;

// Draws the terminal program's job model as lines: each row when it is added and whenever
// its state changes (a judged row's with the time it took, a failed row's with its reason);
// a converting row shows its progress and pace through the writer.
// Threads: rows are added on the main thread before a batch; during a batch the model (made
// Direct) tells this view on the worker, or on an engine thread for progress. The writer
// serves any thread.
class CTerminalRows : public QObject
{
public:
    CTerminalRows(JobModel& model, CConsoleWriter& writer);

    // Appends a row holding `job` to the model and writes it with its duration, `target`
    // and the state "Ready". Returns its index.
    int addRow(std::unique_ptr<ConversionJob> job, const QString& target);

private:
    void onRowChanged(int row, int changes);
    QString nameOf(int row) const;

    JobModel& m_model;
    CConsoleWriter& m_writer;
};
