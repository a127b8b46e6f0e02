#pragma once

#include "BatchUser.h"

#include <QMutex>
#include <QString>

class CConsoleWriter;

// The user of the terminal program: messages become lines (information on standard output,
// warnings and errors on standard error, prefixed with their caption), the stop question is
// answered Yes (an interrupt is the user's own request), and the output folder is named at the
// end instead of opened. Threads: any; the output box text is guarded.
class CTerminalUser : public BatchUser
{
public:
    CTerminalUser(CConsoleWriter& writer, const QString& outputBox);

    void showMessage(const QString& text, const QString& caption, Icon icon) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    QString outputBoxText() override;
    void setOutputBoxText(const QString& text) override;
    void enableControls(bool) override {}
    void enableEncode() override {}
    void stopPreview() override {}
    void writeBackSelectedProfile() override {}
    void openOutputFolder(const QString& folder) override;

private:
    CConsoleWriter& m_writer;
    QMutex m_lock;
    QString m_outputBox;
};
