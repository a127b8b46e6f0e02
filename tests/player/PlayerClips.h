#pragma once

#include "TestMedia.h"
#include "WaitFor.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <string>

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

// Serves events until `timer` has fired `ticks` more times: a check that nothing moved then
// stands on ticks that did happen, and fails when the timer stalls.
inline ::testing::AssertionResult waitTicks(const QTimer& timer, int ticks)
{
    int seen = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&timer, &QTimer::timeout, [&seen] { ++seen; });
    ::testing::AssertionResult result =
        waitFor([&] { return seen >= ticks; }, 30000, std::to_string(ticks) + " timer ticks");
    QObject::disconnect(counting);
    return result;
}
