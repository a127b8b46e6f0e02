#include "PreferencesCommand.h"

#include "CBatchConverter.h"
#include "CPreferencesDlg.h"
#include "Settings.h"

void PreferencesCommand::Run(QWidget* owner, CBatchConverter& batch)
{
    CPreferencesDlg dialog(batch.keepSourceDates(), owner);
    dialog.setKeepGoing(batch.keepGoing());
    dialog.setSimultaneous(Settings::ReadSimultaneous());
    if (dialog.exec() != QDialog::Accepted)
        return;
    batch.setKeepSourceDates(dialog.keepDates());
    batch.setKeepGoing(dialog.keepGoing());
    Settings::WriteKeepGoing(dialog.keepGoing());
    if (dialog.simultaneous() != Settings::ReadSimultaneous())
        Settings::WriteSimultaneous(dialog.simultaneous());
}
