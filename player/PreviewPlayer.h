#pragma once

#include "PlaybackGraph.h"

#include <QString>

#include <memory>

class QObject;
class QWidget;

// The preview's playback object: at most one PlaybackGraph for the file being previewed.
// Closed (no graph) or open (graph held, paused on its first frame after opening).
// Threads: UI thread only.
class PreviewPlayer
{
public:
    PreviewPlayer() = default;
    PreviewPlayer(const PreviewPlayer&) = delete;
    PreviewPlayer& operator=(const PreviewPlayer&) = delete;

    // Closes what is open, then opens `path` with its video inside `videoOwner` and graph
    // events handled on `notifyWindow`'s thread; ends paused. A file that cannot be played
    // leaves a graph on which every later command quietly does nothing. Returns 1.
    int Open(const QString& path, QWidget* videoOwner, QObject* notifyWindow);
    // Stops and destroys the graph, so the owner's own picture shows again. Returns 1.
    int Close();
    // Runs / pauses the open graph, if any. Return 1.
    int Play();
    int Pause();
    // False without a graph; else as the graph's own.
    bool Seek(double seconds);
    bool CurrentPosition(double& seconds) const;
    bool Duration(double& seconds) const;
    // Drains the graph's event queue; at the end of the media it returns to the start, and a
    // running preview goes on from there. Returns 1.
    int HandleGraphEvents();

    // The open graph, or null.
    PlaybackGraph* graph() const { return m_pGraph.get(); }
    // The path last given to Open.
    QString path() const { return m_szPath; }

private:
    std::unique_ptr<PlaybackGraph> m_pGraph;
    QString m_szPath;
};
