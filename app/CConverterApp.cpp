#include "CConverterApp.h"

#include "AppFolder.h"
#include "CConverterDlg.h"

#include <QTimer>

int CConverterApp::InitInstance(const QStringList& files)
{
    // COM has no counterpart here; the skin comes first so every window is drawn with it.
    const QString skinFile = AppFolder::path() + QStringLiteral("skin.smf");
    m_skin.start();
    m_skin.loadSkinFile(skinFile);

    m_where = WriteLocations::decide(AppFolder::path());
    {
        CConverterDlg dlg(&m_skin, m_where);
        if (!files.isEmpty())
            QTimer::singleShot(0, &dlg, [&dlg, files] { dlg.AdmitFiles(files); });
        dlg.exec();
    }
    return 0;
}

int CConverterApp::ExitInstance()
{
    m_skin.shutdown();
    return 0;
}
