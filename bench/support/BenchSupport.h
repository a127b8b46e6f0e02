#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

// What every bench shares (header only): timing rounds, summing them up, and the source clip.

// Milliseconds of one call; negative when it failed.
inline double timeOnce(const std::function<bool()>& call)
{
    QElapsedTimer clock;
    clock.start();
    return call() ? double(clock.nsecsElapsed()) / 1e6 : -1.0;
}

// The middle of the timings; negative when one of them failed.
inline double median(std::vector<double> v)
{
    if (v.empty() || *std::min_element(v.begin(), v.end()) < 0)
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The fastest run: the least disturbed by other work on a shared machine.
inline double best(const std::vector<double>& v)
{
    return v.empty() ? -1 : *std::min_element(v.begin(), v.end());
}

// The fastest of `rounds` runs of `once` in milliseconds; negative as soon as a run fails.
inline double best(int rounds, const std::function<bool(int round)>& once)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        times.push_back(timeOnce([&] { return once(round); }));
        if (times.back() < 0)
            return -1;
    }
    return best(times);
}

// ffmpeg's arguments up to its output options for a clip made from the `video` and `audio`
// lavfi sources, quiet and overwriting.
inline QStringList lavfiSourceArgs(const QString& video, const QString& audio)
{
    return {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi",
            "-i",           video,       "-f",    "lavfi",    "-i", audio};
}

// Makes the 30-second 640x480 H.264/AAC clip the conversion benches convert; false when
// ffmpeg failed.
inline bool makeSourceClip(const QString& path)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("ffmpeg"),
            lavfiSourceArgs("testsrc=size=640x480:rate=25:duration=30",
                            "sine=frequency=440:sample_rate=44100:duration=30") +
                QStringList{"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p", "-c:a",
                            "aac", "-shortest", path});
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A today's profile as its row's command line writes it, for the benches that compare the tool
// with plain ffmpeg on each.
struct BenchCodec
{
    const char* name;
    QStringList options; // as the profile writes them
    QString extension;
};

// H.264, H.265, AV1 and VP9 at the shipped profiles' settings.
inline std::vector<BenchCodec> todaysCodecs()
{
    const QStringList aac = {"-acodec", "libfaac", "-ab", "160k"};
    return {
        {"H.264",
         QStringList{"-f", "mp4", "-vcodec", "libx264", "-crf", "23", "-preset", "medium"} + aac,
         "mp4"},
        {"H.265",
         QStringList{"-vtag", "hvc1", "-f", "mp4", "-vcodec", "libx265", "-crf", "28", "-preset",
                     "fast"} +
             aac,
         "mp4"},
        {"AV1",
         QStringList{"-f", "mp4", "-vcodec", "libsvtav1", "-crf", "35", "-preset", "8"} + aac,
         "mp4"},
        {"VP9",
         {"-f", "webm", "-vcodec", "libvpx-vp9", "-crf", "31", "-preset", "faster", "-acodec",
          "libopus", "-ab", "128k"},
         "webm"},
    };
}

// The codecs named on the command line from argument `first` on; all of them when none is.
inline std::vector<BenchCodec> chosenCodecs(int argc, char** argv, int first)
{
    QStringList chosen;
    for (int i = first; i < argc; ++i)
        chosen << QString::fromLocal8Bit(argv[i]);
    std::vector<BenchCodec> codecs;
    for (const BenchCodec& c : todaysCodecs())
        if (chosen.isEmpty() || chosen.contains(QLatin1String(c.name)))
            codecs.push_back(c);
    return codecs;
}
