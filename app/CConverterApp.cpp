#include "CConverterApp.h"

#include "AppFolder.h"
#include "CConverterDlg.h"
#include "MessageBoxes.h"
#include "SingleWindow.h"
#include "StateFolderClaim.h"

#include <QTimer>

int CConverterApp::InitInstance(const QStringList& files)
{
    // COM has no counterpart here; the skin comes first so every window is drawn with it.
    const QString skinFile = AppFolder::path() + QStringLiteral("skin.smf");
    m_skin.start();
    m_skin.loadSkinFile(skinFile);

    m_where = WriteLocations::decide(AppFolder::path());
    SingleWindow single(m_where.stateFolder());
    if (!single.claim()) {
        if (single.handOver(files))
            return 0;
        MessageBoxes::show(nullptr,
                           QStringLiteral("Tovel Video Converter is running already but does not "
                                          "answer. Close it, or end it, and start again."),
                           QStringLiteral("Error"), BatchUser::Stop);
        return 1;
    }
    // A tovel-cli run may hold the folder's trace and script; the window then writes its own.
    const StateFolderClaim claim(m_where.stateFolder(), {QStringLiteral("window")});
    const WriteLocations where = m_where.withWriteFolder(claim.folder());
    {
        CConverterDlg dlg(&m_skin, where);
        if (!files.isEmpty())
            QTimer::singleShot(0, &dlg, [&dlg, files] { dlg.AdmitFiles(files); });
        QObject::connect(&single, &SingleWindow::filesArrived, &dlg,
                         [&dlg](const QStringList& more) {
                             dlg.AdmitFiles(more); // as a drop would
                             dlg.showNormal();
                             dlg.raise();
                             dlg.activateWindow();
                         });
        dlg.exec();
    }
    return 0;
}

int CConverterApp::ExitInstance()
{
    m_skin.shutdown();
    return 0;
}
