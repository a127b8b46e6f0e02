#include "PreferencesCommand.h"

#include "CBatchConverter.h"
#include "CPreferencesDlg.h"
#include "MessageBoxes.h"
#include "Settings.h"

#include <QCheckBox>
#include <QLineEdit>

void PreferencesCommand::Run(QWidget* owner, CBatchConverter& batch, const Settings& settings)
{
    CPreferencesDlg dialog(batch.keepSourceDates(), owner);
    dialog.setKeepGoing(batch.keepGoing());
    dialog.setSimultaneous(settings.ReadSimultaneous());
    dialog.segmentsBox()->setChecked(settings.ReadSegments());
    dialog.skipSameCodecBox()->setChecked(settings.ReadFlag("SkipSameCodec"));
    dialog.keepSmallerBox()->setChecked(settings.ReadFlag("KeepSmaller"));
    dialog.copySourceBox()->setChecked(settings.ReadFlag("CopySourceIfLarger"));
    dialog.setQualityFloor(batch.qualityFloor());
    dialog.namePatternBox()->setText(batch.namePattern().text());
    dialog.keepTreeBox()->setChecked(batch.namePattern().keepsFolderTree());
    if (dialog.exec() != QDialog::Accepted)
        return;
    batch.setSegments(dialog.segmentsBox()->isChecked());
    settings.WriteSegments(dialog.segmentsBox()->isChecked());
    batch.setSkipSameCodec(dialog.skipSameCodecBox()->isChecked());
    settings.WriteFlag("SkipSameCodec", dialog.skipSameCodecBox()->isChecked());
    batch.setKeepSmaller(dialog.keepSmallerBox()->isChecked());
    settings.WriteFlag("KeepSmaller", dialog.keepSmallerBox()->isChecked());
    batch.setCopySourceIfLarger(dialog.copySourceBox()->isChecked());
    settings.WriteFlag("CopySourceIfLarger", dialog.copySourceBox()->isChecked());
    batch.setNamePattern(
        OutputNamePattern(dialog.namePatternBox()->text(), dialog.keepTreeBox()->isChecked()));
    settings.WriteFlag("KeepFolderTree", dialog.keepTreeBox()->isChecked());
    batch.setQualityFloor(dialog.qualityFloor());
    settings.WriteQualityFloor(dialog.qualityFloor());
    settings.WriteNamePattern(dialog.namePatternBox()->text());
    batch.setKeepSourceDates(dialog.keepDates());
    settings.WriteFlag("KeepDates", dialog.keepDates());
    batch.setKeepGoing(dialog.keepGoing());
    settings.WriteKeepGoing(dialog.keepGoing());
    if (dialog.simultaneous() != settings.ReadSimultaneous())
        settings.WriteSimultaneous(dialog.simultaneous());
}

void PreferencesCommand::ApplySimultaneous(QWidget* owner, CBatchConverter& batch,
                                           const Settings& settings, int& refused)
{
    const int lanes = settings.ReadSimultaneous();
    if (lanes == batch.jobs() || lanes == refused)
        return;
    if (batch.setJobs(lanes)) {
        refused = 0;
        return;
    }
    refused = lanes;
    const QString why = batch.jobsProblem();
    MessageBoxes::show(owner,
                       QStringLiteral("Tovel Video Converter cannot convert %1 files at once%2. It "
                                      "converts them one at a time.")
                           .arg(lanes)
                           .arg(why.isEmpty() ? QString() : QStringLiteral(": ") + why),
                       QStringLiteral("Warning"), BatchUser::Exclamation);
}
