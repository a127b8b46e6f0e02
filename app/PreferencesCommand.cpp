#include "PreferencesCommand.h"

#include "CBatchConverter.h"
#include "CPreferencesDlg.h"
#include "Settings.h"

void PreferencesCommand::Run(QWidget* owner, CBatchConverter& batch, const Settings& settings)
{
    CPreferencesDlg dialog(batch.keepSourceDates(), owner);
    dialog.setKeepGoing(batch.keepGoing());
    dialog.setSimultaneous(settings.ReadSimultaneous());
    if (dialog.exec() != QDialog::Accepted)
        return;
    batch.setKeepSourceDates(dialog.keepDates());
    batch.setKeepGoing(dialog.keepGoing());
    settings.WriteKeepGoing(dialog.keepGoing());
    if (dialog.simultaneous() != settings.ReadSimultaneous())
        settings.WriteSimultaneous(dialog.simultaneous());
}
