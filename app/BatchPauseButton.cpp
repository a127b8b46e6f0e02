#include "BatchPauseButton.h"

#include "CBatchConverter.h"
#include "CImageButton.h"
#include "ResourceImages.h"

BatchPauseButton::BatchPauseButton(CImageButton* button, CBatchConverter& batch,
                                   std::function<void()> resume, QObject* parent)
    : QObject(parent), m_button(button), m_batch(batch), m_resume(std::move(resume))
{
    connect(m_button, &QAbstractButton::clicked, this, [this] { pressed(); });
    show();
}

void BatchPauseButton::batchRunning(bool running)
{
    m_running = running;
    show();
}

void BatchPauseButton::pressed()
{
    if (m_running)
        m_batch.requestPause(!m_batch.pauseRequested());
    else if (m_batch.endedPaused() && m_resume)
        m_resume();
    show();
}

void BatchPauseButton::show()
{
    namespace Image = ResourceImages;
    const bool paused = m_running ? m_batch.pauseRequested() : m_batch.endedPaused();
    if (paused) {
        m_button->SetBitmaps(Image::ResumeHover, Qt::black, Image::ResumeNormal, Qt::black,
                             Image::ResumePressed, Qt::black);
        m_button->setText(QStringLiteral("Resume"));
        m_button->setAccessibleName(QStringLiteral("Resume"));
        m_button->SetTooltipText(m_running ? QStringLiteral("Go on converting")
                                           : QStringLiteral("Convert the rest"));
    } else {
        m_button->SetBitmaps(Image::PauseHover, Qt::black, Image::PauseNormal, Qt::black,
                             Image::PausePressed, Qt::black);
        m_button->setText(QStringLiteral("Pause"));
        m_button->setAccessibleName(QStringLiteral("Pause"));
        m_button->SetTooltipText(QStringLiteral("Pause after the current file"));
    }
    m_button->setEnabled(m_running || paused);
}
