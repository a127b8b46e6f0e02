#include "CSaveProfileCommand.h"

#include "CJobList.h"
#include "CProfileManager.h"
#include "ConversionJob.h"
#include "MainDialogIds.h"
#include "MessageBoxes.h"
#include "ProfileBoxMarks.h"
#include "ProfileSaver.h"

#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QMenu>
#include <QSignalBlocker>

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
    m_jobs.WriteBackEdits();
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
    // The new profile joins the user's own group, whose heading may be new too.
    const int chosen = ProfileBoxMarks::CatalogueIndex(m_profileBox, m_profileBox.currentIndex());
    const QSignalBlocker quiet(&m_profileBox);
    ProfileBoxMarks::Fill(m_profileBox, m_profiles);
    m_profileBox.setCurrentIndex(ProfileBoxMarks::EntryOf(m_profileBox, chosen));
}
