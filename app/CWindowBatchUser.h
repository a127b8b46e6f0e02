#pragma once

#include "BatchUser.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>

class QWidget;

// The user of the main window as the batch sees them. The worker's calls are carried to the
// UI thread: messages, questions, the output box and the editor's write-back wait for the
// UI thread's answer (the UI thread never waits for the worker, so this cannot deadlock);
// the rest is queued in call order. Calls made on the UI thread run at once (the batch
// reads the output box and writes the editor back so, at Encode).
class CWindowBatchUser : public QObject, public BatchUser
{
    Q_OBJECT
public:
    // What the window does for each request; each runs on the UI thread.
    struct Hooks
    {
        std::function<QString()> outputBoxText;
        std::function<void(const QString&)> setOutputBoxText;
        std::function<void(bool)> enableControls;
        std::function<void()> enableEncode;
        std::function<void()> stopPreview;
        std::function<void()> writeBackSelectedProfile;
        std::function<void(const QString&)> openOutputFolder;
    };

    CWindowBatchUser(QWidget* owner, Hooks hooks);

    // While the program is ending, messages are not shown and questions answer No, so that a
    // worker waiting for an answer can finish.
    void setQuiet(bool quiet) { m_quiet.store(quiet); }

    void showMessage(const QString& text, const QString& caption, Icon icon) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    QString outputBoxText() override;
    void setOutputBoxText(const QString& text) override;
    void enableControls(bool enable) override;
    void enableEncode() override;
    void stopPreview() override;
    void writeBackSelectedProfile() override;
    void openOutputFolder(const QString& folder) override;

private:
    // Runs `work` on the UI thread and returns once it has run.
    void onUiThread(const std::function<void()>& work);
    // Queues `work` to the UI thread (runs at once on it).
    void later(std::function<void()> work);

    QWidget* m_owner;
    Hooks m_hooks;
    std::atomic<bool> m_quiet{false};
};
