#include "CConverterDlg.h"

#include "AppFolder.h"
#include "CAboutDlg.h"
#include "CBatchConverter.h"
#include "CCellListCtrl.h"
#include "CCodecInfoDlg.h"
#include "CImageButton.h"
#include "CJobList.h"
#include "CPreferencesDlg.h"
#include "CPreviewPanel.h"
#include "CProfileEditor.h"
#include "CSkinEngine.h"
#include "CWindowBatchUser.h"
#include "CodecDownload.h"
#include "ConversionJob.h"
#include "DialogUnits.h"
#include "EventLog.h"
#include "HelpCommand.h"
#include "MediaAdmission.h"
#include "MessageBoxes.h"
#include "OpenFileFilter.h"
#include "OpenInBrowser.h"
#include "Preferences.h"
#include "ResourceImages.h"
#include "RowCommand.h"
#include "Settings.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const char kRunning[] = "The convert is running, please stop convert and then exit.";
const char kRestart[] = "Encounter a problem,please Restart !!!";

// The window's template, in dialog units.
const int kWidth = 409;
const int kHeight = 258;

struct ButtonSpec
{
    int id;
    const char* name;
    const char* caption;
    const char* tooltip;
    int images[3]; // hovered, normal, pressed
    int rect[4];
};

const ButtonSpec kButtons[] = {
    {1006, "add", "Add", "Add media file to control list", {152, 153, 154}, {21, 4, 25, 31}},
    {1007,
     "remove",
     "Remove",
     "Remove file from the following list",
     {164, 158, 166},
     {67, 5, 25, 30}},
    {1008,
     "clear",
     "Clear",
     "Remove all file from the following list",
     {155, 156, 157},
     {115, 5, 25, 30}},
    {1015, "encode", "Encode", "Start convert", {167, 168, 169}, {188, 5, 25, 30}},
    {1018, "stop", "Stop", "Stop convert", {170, 171, 172}, {233, 5, 25, 30}},
};

// The template was drawn for a narrower font: a caption that does not fit widens its control
// (an image button on both sides, a label towards its left) instead of being cut.
void fitCaption(QWidget* control, const QString& caption, int extra)
{
    const int needed = control->fontMetrics().horizontalAdvance(caption) + extra;
    QRect area = control->geometry();
    if (needed <= area.width())
        return;
    const int grow = needed - area.width();
    if (qobject_cast<QLabel*>(control))
        area.adjust(-grow, 0, 0, 0);
    else if (qobject_cast<CImageButton*>(control))
        area.adjust(-(grow + 1) / 2, 0, grow / 2, 0);
    else
        area.setWidth(needed);
    area.moveLeft(qMax(0, area.left()));
    control->setGeometry(area);
}

void identify(QWidget* control, int id, const QString& name, const QString& accessible)
{
    control->setProperty("controlId", id);
    control->setObjectName(name);
    control->setAccessibleName(accessible);
}

QStringList defaultOpenFiles(QWidget* owner, const QString& filter)
{
    return QFileDialog::getOpenFileNames(owner, QStringLiteral("Open"), QString(), filter, nullptr,
                                         QFileDialog::HideNameFilterDetails);
}

QString defaultPickFolder(QWidget* owner, const QString& title)
{
    return QFileDialog::getExistingDirectory(owner, title);
}

void defaultOpenFolder(const QString& folder)
{
    if (folder.isEmpty())
        return;
    // The desktop opens a folder in its file manager; a missing one fails quietly.
    defaultBrowserLaunchHooks().openWithDesktop(QUrl::fromLocalFile(folder).toString(),
                                                kShowNormal);
}

} // namespace

CConverterDlg::CConverterDlg(CSkinEngine* skin, QWidget* parent)
    : QDialog(parent),
      m_skin(skin), m_desktop{&defaultOpenFiles, &defaultPickFolder, &defaultOpenFolder},
      m_trace(AppFolder::path() + QStringLiteral("trace.log")), m_events(EventLog::createSystem())
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("converterDialog"));
    createControls();

    CWindowBatchUser::Hooks hooks;
    hooks.outputBoxText = [this] { return m_outputBox->text(); };
    hooks.setOutputBoxText = [this](const QString& text) { m_outputBox->setText(text); };
    hooks.enableControls = [this](bool enable) {
        EnableControls(enable);
        if (enable)
            m_converting = false;
    };
    hooks.enableEncode = [this] { m_encode->setEnabled(true); };
    hooks.stopPreview = [this] { stopPreview(); };
    hooks.writeBackSelectedProfile = [this] {
        if (ConversionJob* job = m_jobs->job(m_jobs->SelectedRow()); job && job->profile)
            m_profiles.WriteBack(*job->profile);
    };
    hooks.openOutputFolder = [this](const QString& folder) {
        m_outputFolder = folder;
        m_desktop.openFolder(folder);
    };
    m_user = new CWindowBatchUser(this, std::move(hooks));
    m_jobs = new CJobList(m_list, m_profileBox, m_profiles, this);
    m_batch = std::make_unique<CBatchConverter>(m_controller, m_setup, *m_jobs, *m_user);

    connectCommands();
    OnInitDialog();
    // The desktop session may end the program while a batch runs.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &CConverterDlg::endBatchForExit);
}

CConverterDlg::~CConverterDlg()
{
    endBatchForExit();
    m_batch.reset();
    // The rows' jobs go before the members they were loaded with; the editor first lets go.
    m_profiles.SetView(nullptr);
    delete m_jobs;
    m_jobs = nullptr;
}

QRect CConverterDlg::templateRect(int x, int y, int width, int height) const
{
    return DialogUnits::fromFont(font()).rect(x, y, width, height);
}

void CConverterDlg::createControls()
{
    const DialogUnits units = DialogUnits::fromFont(font());
    m_menus = MainMenus::build(this);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSizeConstraint(QLayout::SetFixedSize);
    frame->setMenuBar(m_menus.bar);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(units.x(kWidth), units.y(kHeight));
    frame->addWidget(m_client);

    const auto place = [&](QWidget* control, int x, int y, int w, int h) {
        control->setGeometry(units.rect(x, y, w, h));
    };

    CImageButton* buttons[5] = {};
    int index = 0;
    for (const ButtonSpec& spec : kButtons) {
        auto* button = new CImageButton(m_client);
        identify(button, spec.id, QString::fromLatin1(spec.name),
                 QString::fromLatin1(spec.caption));
        button->SetBitmaps(spec.images[0], Qt::black, spec.images[1], Qt::black, spec.images[2],
                           Qt::black);
        button->SetAlign(CImageButton::ImageCovers, true);
        button->SetTooltipText(QString::fromLatin1(spec.tooltip), true);
        button->setText(QString::fromLatin1(spec.caption));
        place(button, spec.rect[0], spec.rect[1], spec.rect[2], spec.rect[3]);
        fitCaption(button, button->text(), 2 * CImageButton::kMargin);
        buttons[index++] = button;
    }
    m_add = buttons[0];
    m_remove = buttons[1];
    m_clear = buttons[2];
    m_encode = buttons[3];
    m_stop = buttons[4];

    auto* separator = new QFrame(m_client);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    place(separator, 163, 5, 1, 28);

    m_list = new CCellListCtrl(m_client);
    identify(m_list, 1001, QStringLiteral("jobList"), QStringLiteral("Job list"));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    place(m_list, 2, 37, 288, 176);

    auto* profileLabel = new QLabel(QStringLiteral("Profile:"), m_client);
    place(profileLabel, 6, 221, 22, 8);
    profileLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fitCaption(profileLabel, profileLabel->text(), 0);
    m_profileBox = new QComboBox(m_client);
    identify(m_profileBox, 1004, QStringLiteral("profileBox"), QStringLiteral("Profile:"));
    profileLabel->setBuddy(m_profileBox);
    m_profileBox->setGeometry(units.x(32), units.y(219), units.x(253),
                              m_profileBox->sizeHint().height());
    m_profileBox->setMaxVisibleItems(
        qMax(1, units.y(191) / qMax(1, m_profileBox->fontMetrics().height() + 4)));

    auto* outputLabel = new QLabel(QStringLiteral("Output:"), m_client);
    place(outputLabel, 6, 239, 23, 10);
    outputLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fitCaption(outputLabel, outputLabel->text(), 0);
    m_outputBox = new QLineEdit(m_client);
    identify(m_outputBox, 1005, QStringLiteral("outputBox"), QStringLiteral("Output:"));
    outputLabel->setBuddy(m_outputBox);
    place(m_outputBox, 32, 237, 152, 12);

    m_browse = new QPushButton(QStringLiteral("&Browse..."), m_client);
    identify(m_browse, 1014, QStringLiteral("browse"), QStringLiteral("Browse..."));
    place(m_browse, 197, 235, 40, 17);
    m_open = new QPushButton(QStringLiteral("&Open"), m_client);
    identify(m_open, 1019, QStringLiteral("open"), QStringLiteral("Open"));
    place(m_open, 246, 236, 36, 17);
    // Enter must not press a button of the dialog (nor close it).
    for (QPushButton* button : {m_browse, m_open}) {
        fitCaption(button, button->text().remove(QLatin1Char('&')),
                   button->sizeHint().width() - button->fontMetrics().horizontalAdvance(
                                                    button->text().remove(QLatin1Char('&'))));
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    m_editorFrame = new QGroupBox(m_client);
    identify(m_editorFrame, 1020, QStringLiteral("editorFrame"), QStringLiteral("Parameters"));
    place(m_editorFrame, 293, 3, 111, 149);
    // The editor lies over the frame's rectangle; the frame stays behind it.
    m_editor = std::make_unique<CProfileEditor>(m_client);
    m_editor->widget()->setGeometry(m_editorFrame->geometry());
    m_editor->widget()->setAccessibleName(QStringLiteral("Profile parameters"));
    m_editor->widget()->raise();

    m_preview = new CPreviewPanel(m_client);
    const struct
    {
        int id;
        int rect[4];
    } previewRects[] = {{1052, {293, 154, 111, 77}}, {1050, {293, 232, 114, 9}},
                        {1046, {300, 241, 13, 12}},  {1047, {318, 241, 13, 12}},
                        {1048, {337, 241, 13, 12}},  {1053, {367, 242, 32, 8}}};
    for (const auto& spec : previewRects)
        place(m_preview->control(spec.id), spec.rect[0], spec.rect[1], spec.rect[2], spec.rect[3]);
    if (auto* time = qobject_cast<QLabel*>(m_preview->control(1053)))
        fitCaption(time, QStringLiteral("00:00:00"), 0);
    for (int id : {32793, 32796, 32797}) {
        QAction* entry = m_preview->action(id);
        entry->setProperty("commandId", id);
        m_menus.popup->addAction(entry);
        m_menus.actions.insert(id, entry);
    }
    m_menus.popup->addSeparator();
    QAction* copy = m_menus.popup->addAction(QStringLiteral("Copy &Command Line"));
    copy->setProperty("commandId", 32802);
    copy->setObjectName(QStringLiteral("command32802"));
    m_menus.actions.insert(32802, copy);
}

void CConverterDlg::connectCommands()
{
    const auto on = [this](int id, void (CConverterDlg::*handler)()) {
        if (QAction* action = m_menus.action(id))
            connect(action, &QAction::triggered, this, handler);
    };
    connect(m_add, &QAbstractButton::clicked, this, &CConverterDlg::OnAdd);
    connect(m_remove, &QAbstractButton::clicked, this, &CConverterDlg::OnRemove);
    connect(m_clear, &QAbstractButton::clicked, this, &CConverterDlg::OnRemoveAll);
    connect(m_encode, &QAbstractButton::clicked, this, &CConverterDlg::OnStartConvert);
    connect(m_stop, &QAbstractButton::clicked, this, &CConverterDlg::OnStopConvert);
    connect(m_browse, &QAbstractButton::clicked, this, &CConverterDlg::OnBrowse);
    connect(m_open, &QAbstractButton::clicked, this, &CConverterDlg::OnOpenOutputFolder);
    for (int id : {32771, 32788})
        on(id, &CConverterDlg::OnAdd);
    for (int id : {32772, 32789})
        on(id, &CConverterDlg::OnRemove);
    for (int id : {32773, 32791})
        on(id, &CConverterDlg::OnRemoveAll);
    on(32774, &CConverterDlg::OnExit);
    on(32801, &CConverterDlg::OnAddFolder);
    on(32802, &CConverterDlg::OnCopyCommandLine);
    connect(m_menus.popup, &QMenu::aboutToShow, this, &CConverterDlg::updateCopyCommand);
    on(32799, &CConverterDlg::OnPreferences);
    on(32779, &CConverterDlg::OnAbout);
    connect(m_menus.action(32775), &QAction::triggered, this,
            [this] { m_jobs->SetAllChecks(true); });
    connect(m_menus.action(32776), &QAction::triggered, this,
            [this] { m_jobs->SetAllChecks(false); });
    connect(m_menus.action(32777), &QAction::triggered, this, [this] { m_jobs->Up(); });
    connect(m_menus.action(32778), &QAction::triggered, this, [this] { m_jobs->Down(); });
    connect(m_menus.action(32800), &QAction::triggered, this, [] { StartCodecDownload(); });
    connect(m_menus.action(32781), &QAction::triggered, this, [] { HelpCommand::Show(); });
    m_preview->setSelectedPath([this] {
        const ConversionJob* job = m_jobs->job(m_list->GetFirstSelectedItem());
        return job ? job->inputPath : QString();
    });

    connect(m_profileBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_jobs->OnProfileChanged(index); });
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menus.popup->exec(m_list->viewport()->mapToGlobal(at)); });
    m_list->SetDropHandler([this](const QStringList& paths) { OnDrop(paths); });
}

void CConverterDlg::OnInitDialog()
{
    setWindowIcon(ResourceImages::icon(128));
    if (m_skin) {
        m_skin->skinWindow(this, "Dialog");
        m_skin->setDialogSkinName("Dialog");
    }
    m_jobs->SetEmptyState();

    Settings::ReadStartup();
    setWindowTitle(Settings::WindowTitle());
    m_outputFolder = QString::fromLocal8Bit(g_szOutput);
    m_outputBox->setText(m_outputFolder);

    m_setup.kind = EncoderKind::FfmpegTool;
    m_setup.appFolder = AppFolder::path();
    m_setup.trace = &m_trace;
    m_setup.events = m_events.get();
    m_controller.Init(&m_setup);

    m_profiles.SetView(m_editor.get());
    m_profiles.ScanProfiles(AppFolder::path() + QStringLiteral("profiles/"), g_strConfigFile);
    {
        const QSignalBlocker quiet(m_profileBox);
        for (const QByteArray& name : m_profiles.Names())
            m_profileBox->addItem(QString::fromLocal8Bit(name));
        m_profileBox->setCurrentIndex(m_profiles.SelectedIndex());
    }
    m_jobs->SetCurrentProfileName(m_profiles.CurrentName());
}

QWidget* CConverterDlg::control(int id) const
{
    for (QWidget* child : m_client->findChildren<QWidget*>()) {
        if (child->property("controlId").toInt() == id)
            return child;
    }
    return nullptr;
}

void CConverterDlg::stopPreview()
{
    m_preview->StopPreview();
}

bool CConverterDlg::restoreToolEngine()
{
    if (m_setup.kind != EncoderKind::RealMediaProducer)
        return true;
    if (m_controller.RestoreEncoder() != 1) {
        MessageBoxes::show(this, QString::fromLatin1(kRestart), QStringLiteral("Error"),
                           BatchUser::Stop);
        return false;
    }
    m_setup.kind = EncoderKind::FfmpegTool;
    return true;
}

void CConverterDlg::OnAdd()
{
    if (!restoreToolEngine())
        return;
    const QStringList paths =
        m_desktop.openFiles(this, OpenFileFilter::toQt(OpenFileFilter::windowsText()));
    if (paths.isEmpty())
        return;
    m_list->setFocus();
    for (const QString& path : paths) {
        if (m_jobs->Admit(path, m_controller))
            continue;
        CCodecInfoDlg info(this);
        info.setFileName(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
        info.exec();
    }
    m_jobs->SelectRow(m_jobs->rowCount() - 1);
    stopPreview();
}

void CConverterDlg::AdmitFile(const QString& path)
{
    if (!m_jobs->Admit(path, m_controller)) {
        const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        MessageBoxes::show(
            this, QStringLiteral("The file \"") + name + QStringLiteral("\" can not be decoded."),
            QStringLiteral("Error"), BatchUser::Stop);
        return;
    }
    m_jobs->SelectRow(m_jobs->rowCount() - 1);
}

void CConverterDlg::AdmitFiles(const QStringList& paths)
{
    OnDrop(paths);
}

void CConverterDlg::OnDrop(const QStringList& paths)
{
    // The worker reads the rows while a batch runs: admissions wait until it has ended.
    if (m_converting || paths.isEmpty() || !restoreToolEngine())
        return;
    for (const QString& path : paths) {
        if (QFileInfo(path).isDir())
            AdmitFolder(path);
        else
            AdmitFile(path);
    }
}

void CConverterDlg::OnAddFolder()
{
    if (!restoreToolEngine())
        return;
    const QString folder =
        m_desktop.pickFolder(this, QStringLiteral("Please select a folder to add:"));
    if (folder.isEmpty())
        return;
    m_list->setFocus();
    AdmitFolder(QDir::fromNativeSeparators(folder));
    stopPreview();
}

void CConverterDlg::AdmitFolder(const QString& folder)
{
    const MediaAdmission::FolderTally tally = MediaAdmission::AdmitFolder(
        m_controller, folder,
        [this](std::unique_ptr<ConversionJob> job) { m_jobs->Append(std::move(job)); });
    if (tally.added > 0)
        m_jobs->SelectRow(m_jobs->rowCount() - 1);
    MessageBoxes::show(this, MediaAdmission::SummaryText(tally), QString(), BatchUser::Information);
}

void CConverterDlg::updateCopyCommand()
{
    const ConversionJob* job = m_jobs->job(m_list->GetFirstSelectedItem());
    m_menus.action(32802)->setEnabled(job && job->profile && !RowCommand::UsesProducer(*job));
}

void CConverterDlg::OnCopyCommandLine()
{
    const ConversionJob* job = m_jobs->job(m_list->GetFirstSelectedItem());
    if (!job || !job->profile || RowCommand::UsesProducer(*job))
        return;
    const QString folder = RowCommand::BatchFolder(m_outputBox->text());
    const QString output = RowCommand::OutputPath(*job, folder, g_bOverwrite.load() == 1);
    QGuiApplication::clipboard()->setText(RowCommand::CommandLine(*job, output, AppFolder::path()));
}

void CConverterDlg::OnRemove()
{
    m_jobs->Remove();
}

void CConverterDlg::OnRemoveAll()
{
    m_jobs->RemoveAll();
}

void CConverterDlg::OnStartConvert()
{
    if (m_converting)
        return;
    if (m_batch->StartConvert() != CBatchConverter::Started)
        return;
    // Disabled at once rather than when the worker gets going, so that no row can change
    // under it in between.
    m_converting = true;
    EnableControls(false);
}

void CConverterDlg::OnStopConvert()
{
    m_batch->StopConvert();
}

void CConverterDlg::EnableControls(bool enable)
{
    for (int id : {1015, 1007, 1008, 1014, 1006, 1005, 1004, 1046, 1047, 1048, 1050}) {
        if (QWidget* widget = control(id))
            widget->setEnabled(enable);
    }
    for (int id : {32771, 32801, 32772, 32773, 32788, 32789, 32791, 32793, 32796, 32797}) {
        if (QAction* action = m_menus.action(id))
            action->setEnabled(enable);
    }
    m_menus.edit->menuAction()->setEnabled(enable);
    m_list->setAcceptDrops(enable);
    m_list->viewport()->setAcceptDrops(enable);
    m_jobs->SetBatchRunning(!enable);
}

void CConverterDlg::OnBrowse()
{
    QString folder = m_desktop.pickFolder(this, QStringLiteral("Please select output directory:"));
    if (folder.isEmpty())
        return;
    folder = QDir::fromNativeSeparators(folder);
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    m_outputBox->setText(folder);
    Settings::WriteOutput(folder);
}

void CConverterDlg::OnOpenOutputFolder()
{
    m_desktop.openFolder(m_outputBox->text());
}

bool CConverterDlg::refuseWhileConverting()
{
    if (!m_converting)
        return false;
    MessageBoxes::show(this, QString::fromLatin1(kRunning), QStringLiteral("Warning"),
                       BatchUser::Exclamation);
    return true;
}

void CConverterDlg::OnExit()
{
    if (refuseWhileConverting())
        return;
    stopPreview();
    done(QDialog::Rejected);
}

void CConverterDlg::reject()
{
    OnExit();
}

void CConverterDlg::closeEvent(QCloseEvent* event)
{
    if (refuseWhileConverting()) {
        event->ignore();
        return;
    }
    stopPreview();
    QDialog::closeEvent(event);
}

void CConverterDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter would end the dialog and throw the job list away without a question.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CConverterDlg::OnPreferences()
{
    CPreferencesDlg dialog(m_batch->keepSourceDates(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_batch->setKeepSourceDates(dialog.keepDates());
}

void CConverterDlg::OnAbout()
{
    CAboutDlg about(m_skin, this);
    about.exec();
}

void CConverterDlg::endBatchForExit()
{
    if (!m_batch || !m_batch->IsRunning())
        return;
    m_user->setQuiet(true);
    m_batch->RequestStop();
    // The worker may be waiting for this thread (a message, the output box): serve it.
    while (m_batch->IsRunning()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    m_batch->Wait();
}
