#include "CAboutDlg.h"

#include "CLinkStatic.h"
#include "CSkinEngine.h"
#include "ResourceImages.h"
#include "Settings.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <cstdio>

CAboutDlg::CAboutDlg(CSkinEngine* skin, QWidget* parent)
    : QDialog(parent), m_softName(new QLabel(this)),
      m_version(new QLabel(QStringLiteral("Version"), this)),
      m_link(new CLinkStatic(QStringLiteral(TOVEL_ABOUT_URL), this)),
      m_legal(new QLabel(QStringLiteral(TOVEL_LEGAL_NOTICE), this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* icon = new QLabel(this);
    icon->setPixmap(ResourceImages::icon(ResourceImages::AppIcon).pixmap(32, 32));
    m_softName->setTextFormat(Qt::PlainText);
    m_version->setTextFormat(Qt::PlainText);
    m_legal->setTextFormat(Qt::PlainText);
    m_legal->setWordWrap(true);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(m_softName, 0, 1);
    layout->addWidget(m_version, 1, 1);
    layout->addWidget(m_link, 2, 1, Qt::AlignLeft);
    layout->addWidget(m_legal, 3, 1);
    layout->addWidget(m_ok, 0, 2, Qt::AlignTop);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    OnInitDialog(skin);
}

void CAboutDlg::OnInitDialog(CSkinEngine* skin)
{
    m_softName->setText(QString::fromLocal8Bit(g_szSoftName));
    char version[64];
    std::snprintf(version, sizeof version, "Version %s", g_szVersion);
    m_version->setText(QString::fromLocal8Bit(version));

    m_link->SetAddress(QStringLiteral(TOVEL_ABOUT_URL));
    m_link->SetUnderline(1);
    if (skin)
        skin->removeSkin(m_link);
}
