#pragma once

#include <QObject>
#include <functional>

class CBatchConverter;
class CImageButton;

// The Pause button beside Stop: pressed while a batch runs, no new row starts (the rows
// converting finish) and it becomes Resume; pressed again before they finish, the batch goes
// on. Once a paused batch has ended, every row is editable and Resume (like Encode) starts the
// rest. Threads: UI thread only.
class BatchPauseButton : public QObject
{
public:
    // Drives `button` for `batch`; `resume` starts a batch again, as Encode does.
    BatchPauseButton(CImageButton* button, CBatchConverter& batch, std::function<void()> resume,
                     QObject* parent);

    // A batch started (true) or ended (false); the button follows.
    void batchRunning(bool running);

private:
    void pressed();
    void show();

    CImageButton* m_button;
    CBatchConverter& m_batch;
    std::function<void()> m_resume;
    bool m_running = false;
};
