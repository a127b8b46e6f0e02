#include "CodecNames.h"

#include "EncoderCatalogue.h"

namespace {

struct Rename
{
    const char* legacy;
    const char* modern;
    int sampleRate;
    const char* why; // empty: a plain rename that needs no word in the log
};

// Names that changed since the old tool, matched ignoring case. Profiles may hold either form;
// the converter's command line deliberately writes the old "lib" forms ("aac" -> "libfaac",
// EncoderToolContract::kWrittenCodecs), and these rows bring them back ("libfaac" -> "aac").
constexpr Rename kVideo[] = {
    {"xvid", "libxvid", 0, ""},
    {"h264", "libx264", 0, ""},
    {"x264", "libx264", 0, ""},
    {"msmpeg4v1", "msmpeg4v2", 0, "msmpeg4v1 has no encoder here; using msmpeg4v2"},
    {"msmpeg4v3", "msmpeg4", 0, ""},
    {"hevc", "libx265", 0, ""},
    {"h265", "libx265", 0, ""},
    {"x265", "libx265", 0, ""},
    {"av1", "libsvtav1", 0, ""},
    {"svtav1", "libsvtav1", 0, ""},
    {"vp9", "libvpx-vp9", 0, ""},
    {"vp8", "libvpx", 0, ""},
};

constexpr Rename kAudio[] = {
    {"mp3", "libmp3lame", 0, ""},
    {"vorbis", "libvorbis", 0, ""},
    {"a52", "ac3", 0, ""},
    {"liba52", "ac3", 0, ""},
    {"aad", "aac", 0, ""},
    {"libfaad", "aac", 0, ""},
    {"faac", "aac", 0, ""},
    {"libfaac", "aac", 0, ""},
    {"amr_nb", "aac", 8000, "AMR-NB has no encoder here; using AAC"},
    {"libamr_nb", "aac", 8000, "AMR-NB has no encoder here; using AAC"},
    {"amr_wb", "aac", 16000, "AMR-WB has no encoder here; using AAC"},
    {"libamr_wb", "aac", 16000, "AMR-WB has no encoder here; using AAC"},
    // FFmpeg's own Opus encoder is experimental.
    {"opus", "libopus", 0, ""},
};

template <size_t N>
CodecNames::Choice choose(const Rename (&table)[N], const QString& legacy, bool video,
                          const EncoderCatalogue& ffmpeg)
{
    CodecNames::Choice choice;
    choice.encoder = legacy.trimmed();
    for (const Rename& row : table) {
        if (choice.encoder.compare(QLatin1String(row.legacy), Qt::CaseInsensitive) == 0) {
            choice.encoder = QLatin1String(row.modern);
            choice.note = QLatin1String(row.why);
            choice.sampleRate = row.sampleRate;
            break;
        }
    }
    if (choice.encoder.compare(QLatin1String("copy"), Qt::CaseInsensitive) == 0) {
        choice.encoder = QStringLiteral("copy");
        return choice;
    }
    if (!ffmpeg.hasEncoder(choice.encoder, video)) {
        choice.note = QStringLiteral("%1 codec \"%2\" has no encoder here; using the output "
                                     "format's default")
                          .arg(video ? QLatin1String("video") : QLatin1String("audio"), legacy);
        choice.encoder.clear();
        choice.sampleRate = 0;
    }
    return choice;
}

} // namespace

CodecNames::Choice CodecNames::video(const QString& legacy, const EncoderCatalogue& ffmpeg)
{
    return choose(kVideo, legacy, true, ffmpeg);
}

CodecNames::Choice CodecNames::audio(const QString& legacy, const EncoderCatalogue& ffmpeg)
{
    return choose(kAudio, legacy, false, ffmpeg);
}
