#pragma once

#include "CProfileManager.h"
#include "CQuentaMediaCntl.h"
#include "CTraceLog.h"
#include "DesktopHooks.h"
#include "EncoderSetup.h"
#include "JobModel.h"
#include "MainMenus.h"
#include "Settings.h"
#include "WriteLocations.h"

#include <QDialog>
#include <QString>
#include <memory>

class BatchPauseButton;
class WindowWatch;
class CBatchConverter;
class CBatchEndNotice;
class CCellListCtrl;
class CImageButton;
class CJobList;
class JobListDrawing;
class JobListKeeper;
class CPreviewPanel;
class CProfileEditor;
class CSkinEngine;
class CWindowBatchUser;
class EventLog;
class WindowAdmissions;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The one window of the application: the job list, the Profile box, the output folder, the
// buttons and menus of the list and the conversion, the area of the parameter editor and the
// preview panel. It drives the batch (CBatchConverter) with the list as its rows and itself
// as its user.
// Threads: every widget and member belongs to the UI thread. The batch worker reaches the
// window only through CJobList (rows) and CWindowBatchUser (user), which carry its calls to
// the UI thread; the UI thread never waits for the worker except when the program must end.
// Files are probed on an admission worker (WindowAdmissions), which only posts its rows here.
class CConverterDlg : public QDialog
{
    Q_OBJECT
public:
    // The ways out to the desktop, replaceable so that tests open no real dialog or folder.
    using DesktopHooks = ::DesktopHooks;

    // Writes its settings and trace where `where` says (the program's one decision of the run).
    CConverterDlg(CSkinEngine* skin, const WriteLocations& where, QWidget* parent = nullptr);
    // As above with the decision made here.
    explicit CConverterDlg(CSkinEngine* skin, QWidget* parent = nullptr);
    ~CConverterDlg() override;

    void setDesktopHooks(DesktopHooks hooks) { m_desktop = std::move(hooks); }

    // Admits each file as a drop does (the program's command-line files): the files that
    // cannot be decoded are named in one message; the last row is selected. Before the start-up
    // has offered a kept job list back, they wait until it has; during a batch, until it has
    // ended; during an admission, behind it.
    void AdmitFiles(const QStringList& paths);
    // Admits one file, telling the user when it cannot be decoded; selects the last row.
    void AdmitFile(const QString& path);
    // True while files are being probed and added or wait for it, until admissionFinished.
    bool isAdmitting() const;

    // The folder of the current or last batch; set from "Output" at start-up.
    QString outputFolder() const { return m_outputFolder; }
    QLineEdit* outputBox() const { return m_outputBox; }
    CCellListCtrl* jobList() const { return m_list; }
    QComboBox* profileBox() const { return m_profileBox; }
    QGroupBox* editorFrame() const { return m_editorFrame; }
    CProfileEditor& editor() const { return *m_editor; }
    CPreviewPanel& preview() const { return *m_preview; }
    CJobList& jobs() const { return *m_jobs; }
    JobModel& jobModel() { return m_model; }
    JobListDrawing& listDrawing() const { return *m_drawing; }
    CBatchConverter& batch() const { return *m_batch; }
    CBatchEndNotice& endNotice() const { return *m_endNotice; }
    CProfileManager& profiles() { return m_profiles; }
    const MainMenus& menus() const { return m_menus; }
    const WriteLocations& writeLocations() const { return m_where; }
    // The control with dialog id `id`; null when there is none.
    QWidget* control(int id) const;
    // The pixel rectangle of a template rectangle in dialog units.
    QRect templateRect(int x, int y, int width, int height) const;
    // True from Encode until the batch has ended.
    bool IsConverting() const { return m_converting; }

    void OnAdd();
    void OnAddFolder();
    void OnRemove();
    void OnRemoveAll();
    void DropKeptWork(int row);
    void OnStartConvert();
    void OnStopConvert();
    void OnBrowse();
    void OnOpenOutputFolder();
    void OnExit();
    void OnPreferences();
    void OnAbout();
    void EnableControls(bool enable);

    // Esc does nothing: a main window is not closed by one key (Exit and the close box are).
    void reject() override;

signals:
    // The last admission has ended (finished or cancelled) and said its messages.
    void admissionFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnInitDialog();
    // Once the window runs: offers a kept job list back, then admits the files named at start.
    void OnStartup();
    void writeBackSelectedProfile();
    // Why the checked rows cannot convert: a line per profile this FFmpeg cannot make; empty
    // when they can.
    QString unusableProfileText();
    void createControls();
    void connectCommands();
    void OnDrop(const QStringList& paths);
    void createAdmissions();
    // File › Watch Folder, once the admissions are there.
    void createWatch();
    bool refuseWhileConverting();
    void stopPreview();
    // Stops a running batch without asking and waits for it, serving its calls meanwhile.
    void endBatchForExit();

    CSkinEngine* m_skin;
    DesktopHooks m_desktop;
    MainMenus m_menus;

    QWidget* m_client = nullptr;
    CImageButton* m_add = nullptr;
    CImageButton* m_remove = nullptr;
    CImageButton* m_clear = nullptr;
    CImageButton* m_encode = nullptr;
    CImageButton* m_stop = nullptr;
    CImageButton* m_pause = nullptr;
    BatchPauseButton* m_pauseButton = nullptr;
    WindowWatch* m_watch = nullptr;
    CCellListCtrl* m_list = nullptr;
    QComboBox* m_profileBox = nullptr;
    QLineEdit* m_outputBox = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_open = nullptr;
    QGroupBox* m_editorFrame = nullptr;
    CPreviewPanel* m_preview = nullptr;

    QString m_outputFolder;
    bool m_converting = false;
    int m_refusedLanes = 0; // the simultaneous conversions the batch could not have, said once

    CProfileManager m_profiles;
    std::unique_ptr<CProfileEditor> m_editor; // shows through m_profiles
    WriteLocations m_where;
    Settings m_settings; // of m_where
    CTraceLog m_trace;
    std::unique_ptr<EventLog> m_events;
    EncoderSetup m_setup;
    CQuentaMediaCntl m_controller;
    JobModel m_model; // the rows; outlives everything that draws or converts them
    JobListDrawing* m_drawing = nullptr;
    CJobList* m_jobs = nullptr;
    CWindowBatchUser* m_user = nullptr;
    CBatchEndNotice* m_endNotice = nullptr;
    WindowAdmissions* m_admissions = nullptr; // goes before the rows it adds to
    std::unique_ptr<CBatchConverter> m_batch; // ends before what it uses
    std::unique_ptr<JobListKeeper> m_keeper;  // reads the rows: goes before them
    bool m_started = false;                   // OnStartup has run
    QStringList m_startupFiles; // named before OnStartup ran, or handed over during a batch
};
