#pragma once

#include "CConverterDlg.h"
#include "WaitFor.h"

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// Answers the modal dialogs the window opens, in order, recording each one.
// Message boxes get the next queued answer (OK or Yes when none is queued); other dialogs
// are closed. Threads: UI thread.
class CParamTreeItem;

class ModalAnswerer : public QObject
{
public:
    struct Seen
    {
        QString kind; // the dialog's class name
        QString caption;
        QString text;
    };

    ModalAnswerer();
    void queue(QMessageBox::StandardButton answer) { m_answers << answer; }
    // Leaves the next dialogs open until release() (to act while one is showing).
    void hold(bool on) { m_hold = on; }
    QList<Seen> seen;
    // The texts of every message box seen so far.
    QStringList texts() const;

private:
    void poll();
    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_answers;
    bool m_hold = false;
};

// A main window over a private application folder (the built encoder tool or a stand-in,
// the shipped profiles, its own config.ini) with the desktop dialogs answered by the test.
class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the window (again, after dlg.reset()); `tool` replaces the encoder tool when given.
    void open(const QString& tool = QString());
    QString media(const QString& name) const { return m_media.path() + '/' + name; }
    QString app(const QString& name) const { return m_app.path() + '/' + name; }
    QString out() const { return m_media.path() + "/out"; }
    // Adds `paths` with the Add command and waits for the admission's end.
    void add(const QStringList& paths);
    // Drops `paths` on the list as a file manager does and waits for the admission's end.
    void drop(const QStringList& paths);
    // Waits until no admission runs or waits (its rows added, its messages said).
    void waitForAdmission();
    QString cell(int row, int column) const;
    bool checked(int row) const;
    QWidget* control(int id) const { return dlg->control(id); }
    void click(int id);
    void trigger(int commandId);
    // Runs Encode and waits until the batch has ended.
    void encodeAndWait();
    // The editor's Video item labelled `label`; null when the shown profile has none.
    CParamTreeItem* videoItem(const QString& label) const;
    // Types `text` into that item's editor as a user does, and ends the edit.
    void typeInto(const QString& label, const QString& text);

    // Where the window writes; unset: the program's own decision.
    std::optional<WriteLocations> m_where;
    QTemporaryDir m_app;
    QTemporaryDir m_media;
    std::unique_ptr<CConverterDlg> dlg;
    std::unique_ptr<ModalAnswerer> answers;
    QStringList m_toOpen; // what the Add dialog returns
    QString m_folderPick; // what Browse returns
    QStringList m_opened; // folders shown to the user
    QString m_startDir;
};
