#pragma once

#include <QDialog>
#include <QString>

class CSkinEngine;
class QLineEdit;

// The one window of the application. Threads: UI thread only.
class CConverterDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CConverterDlg(CSkinEngine* skin, QWidget* parent = nullptr);

    // The folder of the current or last batch; set from "Output" at start-up.
    QString outputFolder() const { return m_outputFolder; }
    QLineEdit* outputBox() const { return m_outputBox; }

private:
    void OnInitDialog();

    CSkinEngine* m_skin;
    QLineEdit* m_outputBox = nullptr;
    QString m_outputFolder;
};
