#include "CopyCommandLineCommand.h"

#include "CJobList.h"
#include "ConversionJob.h"
#include "EncoderSetup.h"
#include "JobModel.h"
#include "Preferences.h"
#include "RowCommand.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

CopyCommandLineCommand::CopyCommandLineCommand(QAction* entry, QMenu* popup, Parts parts,
                                               QObject* parent)
    : QObject(parent), m_entry(entry), m_parts(std::move(parts))
{
    connect(entry, &QAction::triggered, this, [this] { copy(); });
    connect(popup, &QMenu::aboutToShow, this, [this] { update(); });
}

void CopyCommandLineCommand::update()
{
    bool any = false;
    for (const int row : m_parts.jobs->SelectedRows()) {
        const ConversionJob* job = m_parts.model->job(row);
        any = any || (job && job->profile && !RowCommand::UsesProducer(*job));
    }
    m_entry->setEnabled(any);
}

void CopyCommandLineCommand::copy()
{
    m_parts.jobs->WriteBackEdits();
    const QString folder = m_parts.outputFolder();
    QStringList lines;
    for (const int row : m_parts.jobs->SelectedRows()) {
        const ConversionJob* job = m_parts.model->job(row);
        if (!job || !job->profile || RowCommand::UsesProducer(*job))
            continue;
        const QString output = RowCommand::OutputPath(*job, folder, g_bOverwrite.load() == 1, {},
                                                      m_parts.naming(), row);
        lines << RowCommand::ShellLine(*job, output, m_parts.setup->appFolder,
                                       m_parts.setup->writeFolder);
    }
    if (!lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}
