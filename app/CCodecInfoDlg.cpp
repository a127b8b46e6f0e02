#include "CCodecInfoDlg.h"

#include "HelpCommand.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

CCodecInfoDlg::CCodecInfoDlg(QWidget* parent)
    : QDialog(parent), m_fileName(new QLabel(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_download(new QPushButton(QStringLiteral("Codec Download"), this)),
      m_startDownload([] { HelpCommand::CodecDownload(); })
{
    setWindowTitle(QStringLiteral("Information"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* input = new QLabel(QStringLiteral("Input file:"), this);
    auto* first =
        new QLabel(QStringLiteral("can not be decoded, please click \"Codec Download\" "), this);
    auto* second = new QLabel(QStringLiteral("button to download Codecs and install them."), this);
    for (QLabel* label : {input, m_fileName, first, second})
        label->setTextFormat(Qt::PlainText);
    m_fileName->setObjectName(QStringLiteral("fileName"));
    first->setObjectName(QStringLiteral("decodeLine1"));
    second->setObjectName(QStringLiteral("decodeLine2"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    // The dialog stays open while the downloader runs.
    connect(m_download, &QPushButton::clicked, this, [this] {
        if (m_startDownload)
            m_startDownload();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_download);
    auto* layout = new QGridLayout(this);
    layout->addWidget(input, 0, 0);
    layout->addWidget(m_fileName, 0, 1);
    layout->addWidget(first, 1, 0, 1, 2);
    layout->addWidget(second, 2, 0, 1, 2);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
}

void CCodecInfoDlg::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        m_fileName->setText(m_strFileName);
    QDialog::showEvent(event);
}
