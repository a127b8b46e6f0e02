#pragma once

#include <QDialog>

class CLinkStatic;
class CSkinEngine;
class QLabel;
class QPushButton;

// The About box: the program's icon, name and version, the maker's web link and legal
// notice, and OK. Threads: UI thread only.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    // `skin`, when given, is taken off the link so that it draws itself.
    explicit CAboutDlg(CSkinEngine* skin = nullptr, QWidget* parent = nullptr);

    QLabel* softNameLabel() const { return m_softName; }
    QLabel* versionLabel() const { return m_version; }
    CLinkStatic* link() const { return m_link; }
    QLabel* legalNotice() const { return m_legal; }
    QPushButton* okButton() const { return m_ok; }

private:
    void OnInitDialog(CSkinEngine* skin);

    QLabel* m_softName;
    QLabel* m_version;
    CLinkStatic* m_link;
    QLabel* m_legal;
    QPushButton* m_ok;
};
