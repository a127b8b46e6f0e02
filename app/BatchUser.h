#pragma once

#include <QString>

// The user as the batch sees them: message boxes, the output box and the window's controls.
// The main window implements it with its dialogs, the terminal program on the console.
// Threads: startup and stop calls come from the UI thread (StartConvert, StopConvert: the
// output box text, the editor's write-back and the question, among others), the rest from
// the batch worker; an implementation marshals to the thread that owns its display.
class BatchUser
{
public:
    enum Icon
    {
        Information,
        Exclamation,
        Stop
    };

    virtual ~BatchUser() = default;

    // Shows `text` with `caption` and `icon` and returns when the user has dismissed it.
    virtual void showMessage(const QString& text, const QString& caption, Icon icon) = 0;
    // Asks `text` with `caption`, Yes and No buttons and the exclamation icon; true for Yes.
    virtual bool askYesNo(const QString& text, const QString& caption) = 0;

    // The text of the output-folder box; read once, when a batch starts.
    virtual QString outputBoxText() = 0;
    // Shows `text` in the output-folder box.
    virtual void setOutputBoxText(const QString& text) = 0;
    // Enables or disables the controls a batch must not be disturbed by.
    virtual void enableControls(bool enable) = 0;
    // Enables the Encode command again.
    virtual void enableEncode() = 0;
    // Stops the preview of the selected file.
    virtual void stopPreview() = 0;
    // Writes the editor's pending changes into the selected row's profile, if any; called
    // when a batch starts.
    virtual void writeBackSelectedProfile() = 0;
    // Shows the output folder to the user (text of the output box as the batch used it).
    virtual void openOutputFolder(const QString& folder) = 0;
};
