#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;

// The Information dialog for a file that cannot be decoded: names the file and offers the
// codec downloader, staying open until OK. Threads: UI thread only.
class CCodecInfoDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CCodecInfoDlg(QWidget* parent = nullptr);

    // The file name shown; set before the dialog opens, applied when it opens.
    void setFileName(const QString& name) { m_strFileName = name; }

    // Replaces what Codec Download does (the default is HelpCommand::CodecDownload).
    void setCodecDownload(std::function<void()> start) { m_startDownload = std::move(start); }

    QLabel* fileNameLabel() const { return m_fileName; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* codecDownloadButton() const { return m_download; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_strFileName;
    QLabel* m_fileName;
    QPushButton* m_ok;
    QPushButton* m_download;
    std::function<void()> m_startDownload;
};
