#include "CSaveProfileCommand.h"

#include "CJobList.h"
#include "CProfileManager.h"
#include "ConversionJob.h"
#include "MainDialogIds.h"
#include "MessageBoxes.h"
#include "ProfileSaver.h"

#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QMenu>

CSaveProfileCommand::CSaveProfileCommand(QWidget* owner, QMenu* popup, CJobList& jobs,
                                         CProfileManager& profiles, QComboBox& profileBox,
                                         const QString& folder)
    : QObject(owner), m_owner(owner), m_jobs(jobs), m_profiles(profiles), m_profileBox(profileBox),
      m_folder(folder)
{
    QAction* entry = popup->addAction(QStringLiteral("Save as &Profile..."));
    entry->setProperty("commandId", MainDialogIds::kSaveAsProfile);
    entry->setObjectName(QStringLiteral("command%1").arg(MainDialogIds::kSaveAsProfile));
    connect(entry, &QAction::triggered, this, &CSaveProfileCommand::OnSaveAsProfile);
    connect(popup, &QMenu::aboutToShow, entry, [this, entry] {
        const ConversionJob* job = m_jobs.SelectedJob();
        entry->setEnabled(job && job->profile);
    });
}

void CSaveProfileCommand::OnSaveAsProfile()
{
    ConversionJob* job = m_jobs.SelectedJob();
    if (!job || !job->profile)
        return;
    // The editor's pending values are part of what the user sees and saves.
    m_profiles.WriteBack(*job->profile);
    bool ok = false;
    const QString name =
        QInputDialog::getText(m_owner, QStringLiteral("Save as Profile"),
                              QStringLiteral("Profile name:"), QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return;
    const QString problem = ProfileSaver::Save(m_profiles, *job->profile, name, m_folder);
    if (!problem.isEmpty()) {
        MessageBoxes::show(m_owner, problem, QStringLiteral("Warning"), BatchUser::Exclamation);
        return;
    }
    m_profileBox.addItem(QString::fromLocal8Bit(m_profiles.Names().last()));
}
