#include "PreviewPlayer.h"

int PreviewPlayer::Open(const QString& path, QWidget* videoOwner, QObject* notifyWindow)
{
    m_szPath = path;
    Close();
    m_pGraph = std::make_unique<PlaybackGraph>();
    if (!m_pGraph->Create())
        return 1;
    // An unplayable file is not reported: the graph just stays without media.
    m_pGraph->RenderFile(m_szPath);
    m_pGraph->AttachVideoWindow(videoOwner);
    m_pGraph->SetNotifyWindow(notifyWindow, [this] { HandleGraphEvents(); });
    m_pGraph->Pause();
    return 1;
}

int PreviewPlayer::Close()
{
    if (m_pGraph) {
        m_pGraph->Stop();
        m_pGraph->SetNotifyWindow(nullptr, nullptr);
        m_pGraph.reset();
    }
    return 1;
}

int PreviewPlayer::Play()
{
    if (m_pGraph)
        m_pGraph->Run();
    return 1;
}

int PreviewPlayer::Pause()
{
    if (m_pGraph)
        m_pGraph->Pause();
    return 1;
}

bool PreviewPlayer::Seek(double seconds)
{
    return m_pGraph && m_pGraph->Seek(seconds);
}

bool PreviewPlayer::CurrentPosition(double& seconds) const
{
    return m_pGraph && m_pGraph->CurrentPosition(seconds);
}

bool PreviewPlayer::Duration(double& seconds) const
{
    return m_pGraph && m_pGraph->Duration(seconds);
}

int PreviewPlayer::HandleGraphEvents()
{
    if (!m_pGraph)
        return 1;
    int code = 0;
    while (m_pGraph->GetEvent(code)) {
        if (code == PlaybackGraph::EventComplete)
            m_pGraph->Seek(0.0);
    }
    return 1;
}
