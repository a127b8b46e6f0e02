#include "FirstFrame.h"
#include "TestMedia.h"
#include "WaitFor.h"

#include <QTemporaryDir>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

namespace {

// A clip of one colour, so that a picture tells which file it came from.
bool makeSolid(const QString& path, const char* colour)
{
    return TestMedia::ffmpeg({"-f", "lavfi", "-i",
                              QStringLiteral("color=c=%1:s=160x120:r=25:d=1").arg(colour),
                              "-pix_fmt", "yuv420p", path});
}

QVideoFrame solidFrame(QRgb colour)
{
    QVideoFrame frame(QVideoFrameFormat(QSize(16, 16), QVideoFrameFormat::Format_BGRX8888));
    if (frame.map(QVideoFrame::WriteOnly)) {
        const QRgb pixel = colour | 0xff000000u;
        for (int i = 0; i < frame.mappedBytes(0) / 4; ++i)
            std::memcpy(frame.bits(0) + i * 4, &pixel, 4);
        frame.unmap();
    }
    return frame;
}

} // namespace

TEST(FirstFrame, ALateFrameOfAnEarlierFileIsNotTakenForTheNextOne)
{
    QTemporaryDir dir;
    const QString red = dir.filePath("red.mp4");
    const QString blue = dir.filePath("blue.mp4");
    ASSERT_TRUE(makeSolid(red, "red") && makeSolid(blue, "blue"));

    FirstFrame reader;
    QList<QPair<QString, QColor>> shown;
    QObject::connect(&reader, &FirstFrame::ready, [&](const QString& path, const QImage& picture) {
        shown.append({path, picture.pixelColor(picture.width() / 2, picture.height() / 2)});
        if (path == red)
            reader.Read(blue);
    });
    reader.Read(red);
    // A decoder that runs ahead: the red file's first frame has a second one queued behind it,
    // which arrives once blue is being read.
    const QList<QVideoSink*> sinks = reader.findChildren<QVideoSink*>();
    ASSERT_EQ(sinks.size(), 1);
    std::atomic<bool> doubled{false};
    QObject::connect(
        sinks[0], &QVideoSink::videoFrameChanged, sinks[0],
        [&, sink = sinks[0]](const QVideoFrame& frame) {
            if (frame.isValid() && !doubled.exchange(true))
                sink->setVideoFrame(solidFrame(qRgb(255, 0, 0)));
        },
        Qt::DirectConnection);
    ASSERT_TRUE(waitFor([&] { return shown.size() >= 2; }, 30000, "two pictures"));
    EXPECT_EQ(shown[0].first, red);
    EXPECT_GT(shown[0].second.red(), 200);
    EXPECT_EQ(shown[1].first, blue);
    EXPECT_GT(shown[1].second.blue(), 200) << "the red file's late frame shown for blue";
    EXPECT_LT(shown[1].second.red(), 50);
}
