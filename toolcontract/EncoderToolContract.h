#pragma once

#include <cstddef>
#include <string_view>

// What the engine (COMMON/) and the encoder tool (tools/encode/) rely on from each other, named
// once for both sides. Every value is fixed by the converter's tool interface, which tools
// written for the converter follow; none may change. Constant data, any thread.
namespace EncoderToolContract {

// First argument of every command line: names the old FFmpeg option language.
inline constexpr char kLanguage[] = "ffmpeg-converter";

// Information mode ("ffmpeg-converter -info PATH"): one reply line at the first byte of the
// output, whole seconds, the frame size and 1/0 for a video and an audio stream. The engine
// scans it from the first byte with this same pattern, so a partial reply fills leading fields.
inline constexpr char kInfoSwitch[] = "-info";
inline constexpr char kInfoReply[] = "Duration:%d Width:%d Height:%d Video:%d Audio:%d";

// Seconds a still picture converts to: the engine gives a picture this length (its reply says
// 0 seconds), and the tool makes a clip of it when the options give no duration.
inline constexpr int kStillPictureSeconds = 300;

// Capabilities mode ("ffmpeg-converter -capabilities"): one entry a line, "video NAME",
// "audio NAME" (encoders) or "muxer NAME EXT,EXT..." (output formats).
inline constexpr char kCapabilitiesSwitch[] = "-capabilities";
inline constexpr char kVideoEncoderWord[] = "video";
inline constexpr char kAudioEncoderWord[] = "audio";
inline constexpr char kMuxerWord[] = "muxer";

// Progress: a line is progress when its ninth blank-separated word starts with "time=" and the
// whole seconds follow it ("frame= 12 fps= 25.0 q= 2.0 size= 64kB time=0.48 bitrate= ...").
// The engine skips the eight words with scanf's "%*s"; the tool writes values without blanks.
inline constexpr int kWordsBeforeTime = 8;
inline constexpr char kTimeKey[] = "time=";
inline constexpr char kProgressScan[] = "%*s %*s %*s %*s %*s %*s %*s %*s time=%n";

// Number of blank-separated words before `kTimeKey` in `line` (a progress line or the format
// that writes one); -1 when it holds no such key.
constexpr int wordsBeforeTime(std::string_view line)
{
    const std::size_t at = line.find(kTimeKey);
    if (at == std::string_view::npos)
        return -1;
    int words = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < at; ++i) {
        const bool blank = line[i] == ' ';
        if (!blank && !inWord)
            ++words;
        inWord = !blank;
    }
    return words;
}
static_assert(wordsBeforeTime(kProgressScan) == kWordsBeforeTime);

// Stop request, written to the tool's standard input: the letter "q" and nine NUL bytes. The
// converter has always sent its zeroed ten-byte buffer whole, and tools built for it may read
// the request as one block of ten; the tool acts on the "q" and ignores the rest.
inline constexpr char kStopLetter = 'q';
inline constexpr char kStopRequest[] = "q\0\0\0\0\0\0\0\0\0";
inline constexpr int kStopRequestSize = 10;
static_assert(sizeof kStopRequest == kStopRequestSize + 1 && kStopRequest[0] == kStopLetter);

// Start of the line on which the tool says which black borders it found in the source (after
// "encode: "); the engine shows the rest of it beside the crop setting.
inline constexpr char kCropFound[] = "crop found ";

// Environment the engine gives the tool beside its unchanged command line. kSegmentsVariable
// "0": never cut a conversion into segments. kProcessorsVariable: the processors this
// conversion may fill (the machine's divided among the rows converting at once). The tool alone
// reads kSegmentSecondsVariable, the segment length aimed at (tests cut short clips with it).
inline constexpr char kSegmentsVariable[] = "TOVEL_SEGMENTS";
inline constexpr char kProcessorsVariable[] = "TOVEL_PROCESSORS";
inline constexpr char kSegmentSecondsVariable[] = "TOVEL_SEGMENT_SECONDS";

// A still instead of a conversion: kStillVariable holds the seconds into the source, and the
// command line's output is a PNG file. The tool writes that one picture as the conversion would
// shape it (crop, deinterlacing, size, pad, aspect), stretched to the shape a player shows, and
// says its frame size on the line starting kStillFrame (after "encode: "), e.g. "still frame
// 1280x536". No verdict and no output check follow.
inline constexpr char kStillVariable[] = "TOVEL_STILL_AT";
inline constexpr char kStillFrame[] = "still frame ";

// Quality verdict: one line the tool writes after a conversion passed its check, the output
// measured against its source, e.g. "verdict: size=0.3812 ssim=0.98412 psnr=41.20
// sampled=12.0/60.0". Words in any order after the first: size, the output's bytes over the
// source's; ssim (all planes) and psnr (dB), for a re-encoded picture only; sampled, the seconds
// measured of the seconds there are, when only a sample was; crf, the quality value a target
// quality chose; unmeasured, last, why the picture was not measured (the rest of the line).
inline constexpr char kVerdictWord[] = "verdict:";
inline constexpr char kVerdictSize[] = "size=";
inline constexpr char kVerdictSsim[] = "ssim=";
inline constexpr char kVerdictPsnr[] = "psnr=";
inline constexpr char kVerdictSampled[] = "sampled=";
inline constexpr char kVerdictCrf[] = "crf=";
inline constexpr char kVerdictUnmeasured[] = "unmeasured=";

// Codec names the engine writes in the old tool's library form ("aac" becomes "libfaac"): the
// command line keeps the names the tool has always been given, and the tool maps them to this
// FFmpeg's encoders (options/CodecNames.cpp), matching either form ignoring case.
struct WrittenCodec
{
    const char* profile; // as a profile holds it
    const char* written; // as the command line gives it to the tool
};
inline constexpr WrittenCodec kWrittenCodecs[] = {
    {"amr_nb", "libamr_nb"}, {"amr_wb", "libamr_wb"}, {"mp3", "libmp3lame"},
    {"vorbis", "libvorbis"}, {"xvid", "libxvid"},     {"a52", "liba52"},
    {"aad", "libfaad"},      {"aac", "libfaac"},      {"h264", "libx264"},
};

} // namespace EncoderToolContract
