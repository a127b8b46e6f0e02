#include "CConverterDlg.h"

#include "CSkinEngine.h"
#include "Settings.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CConverterDlg::CConverterDlg(CSkinEngine* skin, QWidget* parent) : QDialog(parent), m_skin(skin)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    auto* layout = new QGridLayout(this);
    auto* outputLabel = new QLabel(QStringLiteral("Output:"), this);
    m_outputBox = new QLineEdit(this);
    m_outputBox->setObjectName(QStringLiteral("outputBox"));
    outputLabel->setBuddy(m_outputBox);
    layout->addWidget(outputLabel, 0, 0);
    layout->addWidget(m_outputBox, 0, 1);
    layout->setRowStretch(1, 1);
    resize(720, 480);
    OnInitDialog();
}

void CConverterDlg::OnInitDialog()
{
    if (m_skin) {
        m_skin->skinWindow(this, "Dialog");
        m_skin->setDialogSkinName("Dialog");
    }
    Settings::ReadStartup();
    setWindowTitle(Settings::WindowTitle());
    m_outputFolder = QString::fromLocal8Bit(g_szOutput);
    m_outputBox->setText(m_outputFolder);
}
