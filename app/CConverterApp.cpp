#include "CConverterApp.h"

#include "AppFolder.h"
#include "CConverterDlg.h"

int CConverterApp::InitInstance()
{
    // COM has no counterpart here; the skin comes first so every window is drawn with it.
    const QString skinFile = AppFolder::path() + QStringLiteral("skin.smf");
    m_skin.start();
    m_skin.loadSkinFile(skinFile);

    {
        CConverterDlg dlg(&m_skin);
        dlg.exec();
    }
    return 0;
}

int CConverterApp::ExitInstance()
{
    m_skin.shutdown();
    return 0;
}
