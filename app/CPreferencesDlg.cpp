#include "CPreferencesDlg.h"

#include "MessageBoxes.h"
#include "OutputNamePattern.h"
#include "Preferences.h"
#include "Settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

void identify(QWidget* control, int id, const char* name)
{
    control->setProperty("controlId", id);
    control->setObjectName(QString::fromLatin1(name));
}

} // namespace

CPreferencesDlg::CPreferencesDlg(bool keepDates, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Preferences"));
    setObjectName(QStringLiteral("preferencesDialog"));

    auto* group = new QGroupBox(QStringLiteral("Output file overwrite"), this);
    m_overwrite = new QRadioButton(QStringLiteral("Overwrite"), group);
    m_autoRename = new QRadioButton(QStringLiteral("Not overwrite(Auto rename)"), group);
    identify(m_overwrite, 1057, "overwrite");
    identify(m_autoRename, 1058, "autoRename");
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_overwrite);
    groupLayout->addWidget(m_autoRename);

    m_shutdown = new QCheckBox(QStringLiteral("Shutdown PC when finished."), this);
    identify(m_shutdown, 1039, "shutdown");
    m_keepDates = new QCheckBox(QStringLiteral("Keep the source file's date"), this);
    m_keepDates->setObjectName(QStringLiteral("keepDates"));
    m_keepDates->setChecked(keepDates);

    auto* failure = new QGroupBox(QStringLiteral("When a file fails:"), this);
    m_stopOnFailure = new QRadioButton(QStringLiteral("stop the batch"), failure);
    m_goOn = new QRadioButton(QStringLiteral("go on with the next file"), failure);
    m_stopOnFailure->setObjectName(QStringLiteral("stopOnFailure"));
    m_goOn->setObjectName(QStringLiteral("goOnAfterFailure"));
    m_stopOnFailure->setChecked(true);
    auto* failureLayout = new QVBoxLayout(failure);
    failureLayout->addWidget(m_stopOnFailure);
    failureLayout->addWidget(m_goOn);

    m_simultaneous = new QSpinBox(this);
    m_simultaneous->setObjectName(QStringLiteral("simultaneous"));
    m_simultaneous->setRange(1, Settings::MaxSimultaneous());
    m_simultaneous->setValue(1);
    auto* simultaneousLabel = new QLabel(QStringLiteral("Simultaneous conversions"), this);
    simultaneousLabel->setBuddy(m_simultaneous);
    m_simultaneous->setAccessibleName(QStringLiteral("Simultaneous conversions"));
    auto* rows = new QFormLayout;
    rows->addRow(simultaneousLabel, m_simultaneous);
    m_namePattern = new QLineEdit(QString::fromLatin1(OutputNamePattern::kDefault), this);
    m_namePattern->setObjectName(QStringLiteral("namePattern"));
    m_namePattern->setAccessibleName(QStringLiteral("Output name"));
    m_namePattern->setToolTip(QStringLiteral(
        "{name}, {ext}, {profile}, {crf}, {parent}, {date} and {n}; the extension follows"));
    auto* nameLabel = new QLabel(QStringLiteral("Output &name"), this);
    nameLabel->setBuddy(m_namePattern);
    rows->addRow(nameLabel, m_namePattern);
    m_keepTree = new QCheckBox(
        QStringLiteral("Keep an added folder's &tree: its files go to the same sub-folders"), this);
    m_keepTree->setObjectName(QStringLiteral("keepFolderTree"));
    m_segments = new QCheckBox(
        QStringLiteral("&Cut long videos into segments that convert side by side and resume"),
        this);
    m_segments->setObjectName(QStringLiteral("segments"));
    m_segments->setChecked(true);
    m_skipSameCodec = new QCheckBox(
        QStringLiteral("S&kip files already in the profile's codec at no more than its bit rate"),
        this);
    m_skipSameCodec->setObjectName(QStringLiteral("skipSameCodec"));
    m_keepSmaller =
        new QCheckBox(QStringLiteral("Never keep an output &larger than its source"), this);
    m_keepSmaller->setObjectName(QStringLiteral("keepSmaller"));
    m_copySource = new QCheckBox(
        QStringLiteral("...and put a cop&y of the source in its place (with its own extension)"),
        this);
    m_copySource->setObjectName(QStringLiteral("copySourceIfLarger"));
    connect(m_keepSmaller, &QCheckBox::toggled, m_copySource, &QWidget::setEnabled);
    m_copySource->setEnabled(false);
    m_qualityWarning = new QCheckBox(QStringLiteral("&Warn when quality is below SSIM"), this);
    m_qualityWarning->setObjectName(QStringLiteral("qualityWarning"));
    m_qualityFloor = new QDoubleSpinBox(this);
    m_qualityFloor->setObjectName(QStringLiteral("qualityFloor"));
    m_qualityFloor->setAccessibleName(QStringLiteral("Least SSIM"));
    m_qualityFloor->setRange(0.5, 0.999);
    m_qualityFloor->setDecimals(3);
    m_qualityFloor->setSingleStep(0.005);
    connect(m_qualityWarning, &QCheckBox::toggled, m_qualityFloor, &QWidget::setEnabled);
    setQualityFloor(Settings::kDefaultQualityFloor);
    auto* quality = new QHBoxLayout;
    quality->addWidget(m_qualityWarning);
    quality->addWidget(m_qualityFloor);
    quality->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    identify(buttons->button(QDialogButtonBox::Ok), 1, "ok");
    identify(buttons->button(QDialogButtonBox::Cancel), 2, "cancel");
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPreferencesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPreferencesDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(m_shutdown);
    layout->addWidget(m_keepDates);
    layout->addWidget(failure);
    layout->addLayout(rows);
    layout->addWidget(m_keepTree);
    layout->addWidget(m_segments);
    layout->addWidget(m_skipSameCodec);
    layout->addWidget(m_keepSmaller);
    layout->addWidget(m_copySource);
    layout->addLayout(quality);
    layout->addWidget(buttons);

    m_shutdown->setChecked(g_bShutdown.load() != 0);
    if (g_bOverwrite.load() != 0)
        m_overwrite->setChecked(true);
    else
        m_autoRename->setChecked(true);
}

void CPreferencesDlg::accept()
{
    // A pattern that cannot name files is refused now, with its reason, and the dialog stays.
    if (const QString problem = OutputNamePattern::problem(m_namePattern->text());
        !problem.isEmpty()) {
        MessageBoxes::show(this,
                           QStringLiteral("The output name \"%1\" cannot be used: %2.")
                               .arg(m_namePattern->text(), problem),
                           QStringLiteral("Warning"), BatchUser::Exclamation);
        m_namePattern->setFocus();
        return;
    }
    g_bShutdown.store(m_shutdown->isChecked() ? 1 : 0);
    if (m_autoRename->isChecked())
        g_bOverwrite.store(0);
    else if (m_overwrite->isChecked())
        g_bOverwrite.store(1);
    QDialog::accept();
}

QLineEdit* CPreferencesDlg::namePatternBox() const
{
    return m_namePattern;
}

bool CPreferencesDlg::keepDates() const
{
    return m_keepDates->isChecked();
}

void CPreferencesDlg::setSimultaneous(int count)
{
    m_simultaneous->setValue(count);
}

int CPreferencesDlg::simultaneous() const
{
    return m_simultaneous->value();
}

void CPreferencesDlg::setKeepGoing(bool keepGoing)
{
    (keepGoing ? m_goOn : m_stopOnFailure)->setChecked(true);
}

bool CPreferencesDlg::keepGoing() const
{
    return m_goOn->isChecked();
}

void CPreferencesDlg::setQualityFloor(double floor)
{
    m_qualityWarning->setChecked(floor > 0);
    m_qualityFloor->setEnabled(floor > 0);
    if (floor > 0)
        m_qualityFloor->setValue(floor);
}

double CPreferencesDlg::qualityFloor() const
{
    return m_qualityWarning->isChecked() ? m_qualityFloor->value() : 0.0;
}
