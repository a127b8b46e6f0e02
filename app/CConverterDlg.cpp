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
#include "CSaveProfileCommand.h"
#include "CSkinEngine.h"
#include "CWindowBatchUser.h"
#include "CodecDownload.h"
#include "ConversionJob.h"
#include "DialogUnits.h"
#include "EventLog.h"
#include "HelpCommand.h"
#include "MainDialogControls.h"
#include "MediaAdmission.h"
#include "MessageBoxes.h"
#include "OpenFileFilter.h"
#include "OpenInBrowser.h"
#include "Preferences.h"
#include "ProfileBoxMarks.h"
#include "ProfileCatalogue.h"
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
    new CSaveProfileCommand(this, m_menus.popup, *m_jobs, m_profiles, *m_profileBox);
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
    m_client->setFixedSize(units.x(MainDialogControls::kWidth),
                           units.y(MainDialogControls::kHeight));
    frame->addWidget(m_client);

    const auto place = [&](QWidget* control, int x, int y, int w, int h) {
        control->setGeometry(units.rect(x, y, w, h));
    };

    const MainDialogControls controls = MainDialogControls::create(m_client, units);
    m_add = controls.add;
    m_remove = controls.remove;
    m_clear = controls.clear;
    m_encode = controls.encode;
    m_stop = controls.stop;
    m_list = controls.list;
    m_profileBox = controls.profileBox;
    m_outputBox = controls.outputBox;
    m_browse = controls.browse;
    m_open = controls.open;
    m_editorFrame = controls.editorFrame;

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
    for (const auto& entry : previewRects)
        place(m_preview->control(entry.id), entry.rect[0], entry.rect[1], entry.rect[2],
              entry.rect[3]);
    if (auto* time = qobject_cast<QLabel*>(m_preview->control(1053)))
        MainDialogControls::fitCaption(time, QStringLiteral("00:00:00"), 0);
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

    connect(m_profileBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_jobs->OnProfileChanged(index);
        ProfileBoxMarks::ShowReason(*m_profileBox, m_profiles);
    });
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
    ProfileCatalogue::Scan(m_profiles, g_strConfigFile);
    {
        const QSignalBlocker quiet(m_profileBox);
        ProfileBoxMarks::Fill(*m_profileBox, m_profiles);
        m_profileBox->setCurrentIndex(m_profiles.SelectedIndex());
    }
    ProfileBoxMarks::ShowReason(*m_profileBox, m_profiles);
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
