#pragma once

#include "TestMedia.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

// The clips the player tests play, made with ffmpeg in a temporary folder: a video with sound
// under an awkward name, a sound-only file, bytes no player understands, and a missing file.
struct PlayerClips
{
    QTemporaryDir dir;
    QString video = dir.filePath(QStringLiteral("-clip 'one' 100% \u00fc.mp4"));
    QString audio = dir.filePath(QStringLiteral("tone.wav"));
    QString broken = dir.filePath(QStringLiteral("broken.mp4"));
    QString missing = dir.filePath(QStringLiteral("no such file.mp4"));
    bool made = TestMedia::makeVideo(video, 3.0) && TestMedia::makeAudio(audio, 3.0) &&
                TestMedia::writeFile(broken, QByteArray(20000, '\x5a'));
};

// Keeps events flowing until `done` holds; false after `ms`. Playback here shares a busy
// machine, hence the generous default.
inline bool waitFor(const std::function<bool()>& done, int ms = 30000)
{
    return QTest::qWaitFor(done, ms);
}
