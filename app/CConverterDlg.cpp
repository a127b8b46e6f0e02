#include "CConverterDlg.h"

#include "AppFolder.h"
#include "BatchPauseButton.h"
#include "CAboutDlg.h"
#include "CBatchConverter.h"
#include "CBatchEndNotice.h"
#include "CCellListCtrl.h"
#include "CImageButton.h"
#include "CJobList.h"
#include "CPreviewPanel.h"
#include "CProfileEditor.h"
#include "CSaveProfileCommand.h"
#include "CSkinEngine.h"
#include "CWindowBatchUser.h"
#include "CompareCommand.h"
#include "ConversionJob.h"
#include "CopyCommandLineCommand.h"
#include "DialogUnits.h"
#include "EventLog.h"
#include "HelpCommand.h"
#include "JobListDrawing.h"
#include "JobListKeeper.h"
#include "MainDialogControls.h"
#include "MainDialogIds.h"
#include "MainShortcuts.h"
#include "MainWindowLayout.h"
#include "MessageBoxes.h"
#include "OpenFileFilter.h"
#include "OpenInBrowser.h"
#include "OutputNaming.h"
#include "OutputStill.h"
#include "OutputStillCommand.h"
#include "Preferences.h"
#include "PreferencesCommand.h"
#include "ProfileBoxMarks.h"
#include "ProfileCatalogue.h"
#include "ProfileFolders.h"
#include "ResourceImages.h"
#include "RowCommand.h"
#include "Settings.h"
#include "ThreadHandOff.h"
#include "WindowAdmissions.h"
#include "WindowWatch.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

namespace Id = MainDialogIds;

const char kRunning[] = "The convert is running, please stop convert and then exit.";

} // namespace

CConverterDlg::CConverterDlg(CSkinEngine* skin, QWidget* parent)
    : CConverterDlg(skin, WriteLocations::decide(AppFolder::path()), parent)
{
}

CConverterDlg::CConverterDlg(CSkinEngine* skin, const WriteLocations& where, QWidget* parent)
    : QDialog(parent), m_skin(skin), m_desktop(DesktopHooks::system()), m_where(where),
      m_settings(where), m_trace(where.traceFile()), m_events(EventLog::createSystem())
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("converterDialog"));
    createControls();

    CWindowBatchUser::Hooks hooks;
    hooks.outputBoxText = [this] { return m_outputBox->text(); };
    hooks.setOutputBoxText = [this](const QString& text) { m_outputBox->setText(text); };
    hooks.enableControls = [this](bool enable) {
        EnableControls(enable);
        if (enable) {
            m_converting = false;
            if (!m_startupFiles.isEmpty())
                OnDrop(std::exchange(m_startupFiles, {}));
        }
    };
    hooks.enableEncode = [this] {
        m_encode->setEnabled(true);
        m_endNotice->BatchEnded(); // the worker's last call before the end of its batch
    };
    hooks.stopPreview = [this] { stopPreview(); };
    hooks.writeBackSelectedProfile = [this] { writeBackSelectedProfile(); };
    hooks.openOutputFolder = [this](const QString& folder) {
        m_outputFolder = folder;
        m_desktop.openFolder(folder);
    };
    m_user = new CWindowBatchUser(this, std::move(hooks));
    m_drawing = new JobListDrawing(m_model, m_list, this);
    m_jobs = new CJobList(m_model, m_list, m_profileBox, m_profiles, this);
    m_endNotice = new CBatchEndNotice(this, m_model);
    new CSaveProfileCommand(this, m_menus.popup, *m_jobs, m_profiles, *m_profileBox,
                            ProfileFolders::User(m_where));
    m_batch = std::make_unique<CBatchConverter>(m_controller, m_setup, m_model, *m_user);
    m_pauseButton = new BatchPauseButton(
        m_pause, *m_batch, [this] { OnStartConvert(); }, this);
    // Wakes a wait for the batch's end (endBatchForExit); nothing waits otherwise.
    m_batch->setEndedHook([this] { ThreadHandOff::post(this, [] {}); });

    connectCommands();
    OnInitDialog();
    createAdmissions();
    createWatch();

    const QString stateFolder = m_where.stateFolder(); // where the job list outlives a crash
    m_keeper = std::make_unique<JobListKeeper>(
        stateFolder,
        JobListKeeper::Parts{this, m_jobs, &m_model, &m_profiles, m_admissions, m_editor->Tree(),
                             [this] {
                                 // During a batch the worker reads the profiles.
                                 if (!m_converting)
                                     writeBackSelectedProfile();
                             },
                             m_outputBox, [this] { return m_batch->namePattern(); }});
    QTimer::singleShot(0, this, &CConverterDlg::OnStartup);
    // The desktop session may end the program while a batch runs.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &CConverterDlg::endBatchForExit);
}

CConverterDlg::~CConverterDlg()
{
    delete m_admissions; // stops its worker before the rows and the bar go
    m_admissions = nullptr;
    endBatchForExit();
    m_batch.reset();
    m_keeper.reset();
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
    frame->setSizeConstraint(QLayout::SetMinimumSize);
    frame->setMenuBar(m_menus.bar);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    const QSize templateSize(units.x(MainDialogControls::kWidth),
                             units.y(MainDialogControls::kHeight));
    m_client->resize(templateSize);
    frame->addWidget(m_client);

    const MainDialogControls controls = MainDialogControls::create(m_client, units);
    m_add = controls.add;
    m_remove = controls.remove;
    m_clear = controls.clear;
    m_encode = controls.encode;
    m_stop = controls.stop;
    m_pause = controls.pause;
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
    m_editor->widget()->setProperty("controlId", CProfileEditor::kControlId);
    m_editor->widget()->raise();

    m_preview = new CPreviewPanel(m_client);
    MainDialogControls::placePreview(*m_preview, units);
    m_menus.addPreviewEntries(*m_preview);

    MainWindowLayout::install(m_client, templateSize);
    // The job list's Name column takes what the list grows beyond its template width.
    m_list->setMinimumSize(m_list->size());
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
    for (int id : {Id::kFileAdd, Id::kPopupAdd})
        on(id, &CConverterDlg::OnAdd);
    for (int id : {Id::kFileRemove, Id::kPopupRemove})
        on(id, &CConverterDlg::OnRemove);
    for (int id : {Id::kFileRemoveAll, Id::kPopupRemoveAll})
        on(id, &CConverterDlg::OnRemoveAll);
    on(Id::kFileExit, &CConverterDlg::OnExit);
    on(Id::kFileAddFolder, &CConverterDlg::OnAddFolder);
    const auto* compare =
        new CompareCommand(m_menus.popup, m_menus.action(Id::kCopyCommandLine), this,
                           {m_jobs, &m_model, m_preview,
                            [this](int row) { return m_model.values(row).verdict.text(); }},
                           this);
    m_menus.actions.insert(CompareCommand::kCommandId, compare->action());
    OutputStillCommand::Parts stillParts;
    stillParts.jobs = m_jobs;
    stillParts.model = &m_model;
    stillParts.preview = m_preview;
    stillParts.still = new OutputStill(m_where.appFolder(), this);
    stillParts.editor = m_editor->Tree();
    stillParts.selection = m_list->selectionModel();
    const auto* still = new OutputStillCommand(m_menus.popup, m_menus.action(Id::kCopyCommandLine),
                                               this, stillParts, this);
    m_menus.actions.insert(OutputStillCommand::kCommandId, still->action());
    new CopyCommandLineCommand(m_menus.action(Id::kCopyCommandLine), m_menus.popup,
                               {m_jobs, &m_model, &m_setup,
                                [this] { return RowCommand::BatchFolder(m_outputBox->text()); },
                                [this] { return m_batch->namePattern(); }},
                               this);
    on(Id::kPreferences, &CConverterDlg::OnPreferences);
    on(Id::kAbout, &CConverterDlg::OnAbout);
    connect(m_menus.action(Id::kCheckAll), &QAction::triggered, this,
            [this] { m_jobs->SetAllChecks(true); });
    connect(m_menus.action(Id::kUncheckAll), &QAction::triggered, this,
            [this] { m_jobs->SetAllChecks(false); });
    connect(m_menus.action(Id::kUp), &QAction::triggered, this, [this] { m_jobs->Up(); });
    connect(m_menus.action(Id::kDown), &QAction::triggered, this, [this] { m_jobs->Down(); });
    connect(m_menus.action(Id::kCodecDownload), &QAction::triggered, this,
            [this] { HelpCommand::CodecDownload(m_desktop.browser); });
    connect(m_menus.action(Id::kHelp), &QAction::triggered, this,
            [this] { HelpCommand::Show(m_desktop.browser); });
    m_preview->setSelectedPath([this] {
        const ConversionJob* job = m_model.job(m_list->GetFirstSelectedItem());
        return job ? job->inputPath : QString();
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, m_preview,
            &CPreviewPanel::FollowSelection);

    connect(m_profileBox, &QComboBox::currentIndexChanged, this, [this](int entry) {
        const int index = ProfileBoxMarks::CatalogueIndex(*m_profileBox, entry);
        if (index < 0)
            return; // a heading
        m_jobs->OnProfileChanged(index);
        m_settings.WriteProfileChoice(index, m_profiles.CurrentName());
        ProfileBoxMarks::ShowReason(*m_profileBox, m_profiles);
    });
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menus.popup->exec(m_list->viewport()->mapToGlobal(at)); });
    m_list->SetDropHandler([this](const QStringList& paths) { OnDrop(paths); });
    MainShortcuts::install(m_menus, m_encode, m_stop, m_pause);
}

void CConverterDlg::createWatch()
{
    WindowWatch::Parts parts;
    parts.admissions = m_admissions;
    parts.jobs = m_jobs;
    parts.model = &m_model;
    parts.profiles = &m_profiles;
    parts.stateFolder = m_where.stateFolder();
    parts.idle = [this] { return !m_converting && !isAdmitting() && !m_batch->endedPaused(); };
    parts.start = [this] { OnStartConvert(); };
    parts.outputFolder = [this] { return RowCommand::BatchFolder(m_outputBox->text()); };
    parts.naming = [this] { return m_batch->namePattern(); };
    parts.pickFolder = [this] {
        return m_desktop.pickFolder(this, QStringLiteral("Please select a folder to watch:"));
    };
    parts.owner = this;
    m_watch = new WindowWatch(std::move(parts), this);
    m_watch->attach(m_menus.action(Id::kFileWatchFolder));
}

void CConverterDlg::createAdmissions()
{
    WindowAdmissions::Parts parts;
    parts.owner = this;
    parts.jobs = m_jobs;
    parts.list = m_list;
    parts.bar = control(Id::kAdmissionBar);
    parts.text = qobject_cast<QLabel*>(control(Id::kAdmissionText));
    parts.cancel = qobject_cast<QAbstractButton*>(control(Id::kAdmissionCancel));
    parts.setup = m_setup;
    parts.stopPreview = [this] { stopPreview(); };
    parts.codecDownload = [this] { HelpCommand::CodecDownload(m_desktop.browser); };
    m_admissions = new WindowAdmissions(std::move(parts), this);
    // No batch starts under an admission: the rows would change beneath it.
    connect(m_admissions, &WindowAdmissions::started, this,
            [this] { m_encode->setEnabled(false); });
    connect(m_admissions, &WindowAdmissions::finished, this, [this] {
        m_encode->setEnabled(!m_converting);
        emit admissionFinished();
    });
}

bool CConverterDlg::isAdmitting() const
{
    return m_admissions && m_admissions->busy();
}

void CConverterDlg::OnInitDialog()
{
    setWindowIcon(ResourceImages::icon(ResourceImages::AppIcon));
    if (m_skin) {
        m_skin->skinWindow(this, "Dialog");
        m_skin->setDialogSkinName("Dialog");
    }
    m_drawing->SetEmptyState();

    m_settings.ReadStartup();
    setWindowTitle(Settings::WindowTitle());
    m_outputFolder = g_strOutput;
    m_outputBox->setText(m_outputFolder);
    m_batch->setKeepGoing(m_settings.ReadKeepGoing());
    m_batch->setSegments(m_settings.ReadSegments());
    m_batch->setSkipSameCodec(m_settings.ReadFlag("SkipSameCodec"));
    m_batch->setKeepSmaller(m_settings.ReadFlag("KeepSmaller"));
    m_batch->setCopySourceIfLarger(m_settings.ReadFlag("CopySourceIfLarger"));
    m_batch->setQualityFloor(m_settings.ReadQualityFloor());
    m_batch->setKeepSourceDates(m_settings.ReadFlag("KeepDates"));
    m_batch->setNamePattern(
        OutputNamePattern(m_settings.ReadNamePattern(), m_settings.ReadFlag("KeepFolderTree")));
    m_drawing->SetColumnWidths(m_settings.ReadColumnWidths());
    connect(m_list, &CCellListCtrl::columnWidthsChanged, this, [this] {
        m_drawing->SetColumnWidths(m_list->ColumnWidths());
        m_settings.WriteColumnWidths(m_list->ColumnWidths());
    });

    m_setup.kind = EncoderKind::FfmpegTool;
    m_setup.appFolder = m_where.appFolder();
    m_setup.writeFolder = m_where.writeFolder();
    m_setup.trace = &m_trace;
    m_setup.events = m_events.get();
    m_controller.Init(&m_setup);

    m_profiles.SetView(m_editor.get());
    ProfileCatalogue::Scan(m_profiles, m_where, m_settings);
    {
        const QSignalBlocker quiet(m_profileBox);
        ProfileBoxMarks::Fill(*m_profileBox, m_profiles);
        m_profileBox->setCurrentIndex(
            ProfileBoxMarks::EntryOf(*m_profileBox, m_profiles.SelectedIndex()));
    }
    ProfileBoxMarks::ShowReason(*m_profileBox, m_profiles);
    m_jobs->SetCurrentProfileName(m_profiles.CurrentName());

    // Once, over the window: the program runs on without what could not be kept.
    if (!m_where.problem().isEmpty())
        QTimer::singleShot(0, this, [this] {
            MessageBoxes::show(this, m_where.problem(), QStringLiteral("Warning"),
                               BatchUser::Exclamation);
        });
}

void CConverterDlg::OnStartup()
{
    m_keeper->OfferRestore();
    m_started = true;
    OnDrop(std::exchange(m_startupFiles, {}));
}

void CConverterDlg::writeBackSelectedProfile()
{
    m_jobs->WriteBackEdits();
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

void CConverterDlg::OnAdd()
{
    const QStringList paths =
        m_desktop.openFiles(this, OpenFileFilter::toQt(OpenFileFilter::windowsText()));
    if (paths.isEmpty())
        return;
    m_list->setFocus();
    m_admissions->add(paths);
}

void CConverterDlg::AdmitFile(const QString& path)
{
    AdmitFiles({path});
}

void CConverterDlg::AdmitFiles(const QStringList& paths)
{
    // Files handed over during a batch wait for its end, as those named before the start do.
    if (!m_started || m_converting) {
        m_startupFiles += paths;
        return;
    }
    OnDrop(paths);
}

void CConverterDlg::OnDrop(const QStringList& paths)
{
    // The worker reads the rows while a batch runs: admissions wait until it has ended.
    if (m_converting || paths.isEmpty())
        return;
    m_admissions->drop(paths);
}

void CConverterDlg::OnAddFolder()
{
    const QString folder =
        m_desktop.pickFolder(this, QStringLiteral("Please select a folder to add:"));
    if (folder.isEmpty())
        return;
    m_list->setFocus();
    m_admissions->addFolder(QDir::fromNativeSeparators(folder));
}

void CConverterDlg::OnRemove()
{
    for (const int row : m_jobs->SelectedRows())
        DropKeptWork(row);
    m_jobs->Remove();
}

void CConverterDlg::OnRemoveAll()
{
    for (int row = 0; row < m_model.rowCount(); ++row)
        DropKeptWork(row);
    m_jobs->RemoveAll();
}

void CConverterDlg::DropKeptWork(int row)
{
    // A row that goes takes the segments a stopped conversion kept for it along.
    if (const ConversionJob* job = m_model.job(row); job && job->profile)
        RowCommand::DropKeptWork(*job, RowCommand::BatchFolder(m_outputBox->text()),
                                 g_bOverwrite.load() == 1, m_batch->namePattern(), row);
}

QString CConverterDlg::unusableProfileText()
{
    // Nothing converts with a profile this FFmpeg cannot make, as with tovel-cli.
    QStringList refused;
    for (int row = 0; row < m_model.rowCount(); ++row) {
        const ConversionJob* job = m_model.job(row);
        if (!m_model.isChecked(row) || !job || !job->profile)
            continue;
        const ProfileProblem problem = m_profiles.Problem(job->profile->name);
        const QString line = QStringLiteral("The profile \"%1\" cannot be used: %2")
                                 .arg(QString::fromLocal8Bit(job->profile->name), problem.text());
        if (problem.kind == ProfileProblem::Unavailable && !refused.contains(line))
            refused << line;
    }
    return refused.join(QLatin1Char('\n'));
}

void CConverterDlg::OnStartConvert()
{
    if (m_converting || isAdmitting())
        return;
    // Taken at each Encode, so that a change made during a batch counts for the next one.
    PreferencesCommand::ApplySimultaneous(this, *m_batch, m_settings, m_refusedLanes);
    if (const QString refused = unusableProfileText(); !refused.isEmpty()) {
        MessageBoxes::show(this, refused, QStringLiteral("Warning"), BatchUser::Exclamation);
        return;
    }
    if (m_batch->StartConvert() != CBatchConverter::Started)
        return;
    // Disabled at once rather than when the worker gets going, so that no row can change
    // under it in between.
    m_converting = true;
    m_endNotice->BatchStarted();
    EnableControls(false);
}

void CConverterDlg::OnStopConvert()
{
    m_batch->StopConvert();
}

void CConverterDlg::EnableControls(bool enable)
{
    for (int id : Id::kBatchLockedControls) {
        if (QWidget* widget = control(id))
            widget->setEnabled(enable);
    }
    for (int id : Id::kBatchLockedCommands) {
        if (QAction* action = m_menus.action(id))
            action->setEnabled(enable);
    }
    m_menus.edit->menuAction()->setEnabled(enable);
    m_list->setAcceptDrops(enable);
    m_list->viewport()->setAcceptDrops(enable);
    m_jobs->SetBatchRunning(!enable);
    m_pauseButton->batchRunning(!enable);
    if (enable && isAdmitting())
        m_encode->setEnabled(false);
}

void CConverterDlg::OnBrowse()
{
    QString folder = m_desktop.pickFolder(this, QStringLiteral("Please select output directory:"));
    if (folder.isEmpty())
        return;
    folder = QDir::fromNativeSeparators(folder);
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (!OutputNaming::OutputFolderFits(folder)) {
        MessageBoxes::show(
            this, QStringLiteral("The output folder is too long for this system: ") + folder,
            QStringLiteral("Warning"), BatchUser::Exclamation);
        return;
    }
    m_outputBox->setText(folder);
    m_settings.WriteOutput(folder);
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
    m_admissions->abandon();
    m_keeper->Discard();
    stopPreview();
    done(QDialog::Rejected);
}

void CConverterDlg::reject()
{
    // A main window is not closed by Esc: one key would throw the job list away. The close
    // box, File › Exit and Ctrl+Q still close it.
}

void CConverterDlg::closeEvent(QCloseEvent* event)
{
    if (refuseWhileConverting()) {
        event->ignore();
        return;
    }
    m_admissions->abandon();
    m_keeper->Discard();
    stopPreview();
    done(QDialog::Rejected);
    event->accept();
}

void CConverterDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter or Esc would end the dialog and throw the job list away without a question.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)) {
        if (event->key() == Qt::Key_Escape)
            m_preview->EndCompare(); // Esc leaves a comparison or a still, and does nothing else
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CConverterDlg::OnPreferences()
{
    PreferencesCommand::Run(this, *m_batch, m_settings);
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
    // The worker may be waiting for this thread (a message, the output box): its calls are
    // served as they come, until its last step wakes the wait. Not a nested event loop: once
    // the application quits, one would return at once.
    while (m_batch->IsRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_batch->Wait();
}
