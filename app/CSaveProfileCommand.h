#pragma once

#include <QObject>
#include <QString>

class CJobList;
class CProfileManager;
class QComboBox;
class QMenu;
class QWidget;

// "Save as Profile..." of the list's pop-up menu: asks for a name and saves the selected row's
// profile, with its edited values, as the user's own profile, listed at the end of the Profile
// box. UI thread only.
class CSaveProfileCommand : public QObject
{
    Q_OBJECT
public:
    // Adds the entry at the end of `popup`; the others are not owned.
    // Profiles are saved into `folder`.
    CSaveProfileCommand(QWidget* owner, QMenu* popup, CJobList& jobs, CProfileManager& profiles,
                        QComboBox& profileBox, const QString& folder);

    // Saves the selected row's profile under a name the user gives; nothing without a row.
    void OnSaveAsProfile();

private:
    QWidget* m_owner;
    CJobList& m_jobs;
    CProfileManager& m_profiles;
    QComboBox& m_profileBox;
    QString m_folder;
};
