#include "CompareCommand.h"

#include "CJobList.h"
#include "CPreviewPanel.h"
#include "ConversionJob.h"
#include "JobModel.h"
#include "PopupEntry.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

CompareCommand::CompareCommand(QMenu* popup, QAction* before, QWidget* window, Parts parts,
                               QObject* parent)
    : QObject(parent), m_parts(std::move(parts))
{
    m_entry = PopupEntry::add(popup, before, window, QStringLiteral("Co&mpare with Source"),
                              kCommandId, QKeySequence(Qt::Key_F7), this);
    connect(m_entry, &QAction::triggered, this, [this] { toggle(); });
    connect(popup, &QMenu::aboutToShow, this,
            [this] { m_entry->setEnabled(m_parts.preview->comparing() || comparableRow() >= 0); });
}

int CompareCommand::comparableRow() const
{
    const QList<int> rows = m_parts.jobs->SelectedRows();
    if (rows.size() != 1)
        return -1;
    const ConversionJob* job = m_parts.model->job(rows.first());
    const bool done = m_parts.model->values(rows.first()).state == RowState::Completed;
    return job && done && QFileInfo(job->outputPath).isFile() ? rows.first() : -1;
}

void CompareCommand::toggle()
{
    if (m_parts.preview->comparing()) {
        m_parts.preview->EndCompare();
        return;
    }
    const int row = comparableRow();
    if (row < 0)
        return; // the key with nothing to compare, as the disabled entry
    const ConversionJob* job = m_parts.model->job(row);
    m_parts.preview->Compare(job->inputPath, job->outputPath,
                             m_parts.verdict ? m_parts.verdict(row) : QString());
}
