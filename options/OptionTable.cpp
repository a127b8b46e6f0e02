#include "OptionTable.h"

namespace {

// Default choices, in the order the editor offers them.
const char* const kVideoCodecs[] = {"mpeg4",      "msmpeg4", "msmpeg4v1", "msmpeg4v2", "mpeg1video",
                                    "mpeg2video", "wmv1",    "wmv2",      "h263",      "h263p",
                                    "rawvideo",   "rv10",    "dvvideo",   "huffyuv",   "ljpeg",
                                    "mjpeg",      "svq1",    "zlib"};
// Historical order: "624x352" comes after "640x480".
const char* const kFrameSizes[] = {"128x96",  "160x120", "176x120", "176x144", "192x144",
                                   "208x176", "220x176", "240x180", "320x200", "320x240",
                                   "352x288", "480x272", "480x480", "480x576", "640x480",
                                   "624x352", "704x576", "720x480", "720x576"};
const char* const kVideoBitRates[] = {"128", "192",  "256",  "384",  "512",  "640",
                                      "768", "1000", "1200", "1500", "2000", "2500"};
const char* const kAudioBitRates[] = {"32",  "48",  "56",  "64",  "80",  "96",  "112",
                                      "128", "160", "192", "224", "256", "320", "384"};
const char* const kTvStandards[] = {"Auto", "NTSC", "PAL"};
const char* const kFrameRates[] = {"23.97", "24.0", "25.0", "29.97", "30.0"};
const char* const kAspects[] = {"Auto", "4:3", "16:9"};
const char* const kOnOff[] = {"False", "True"};
const char* const kAudioCodecs[] = {"mp3"};
const char* const kSampleRates[] = {"22050", "32000", "44100", "48000"};
const char* const kChannels[] = {"1 (Mono)", "2 (Stereo)", "5 (5.1)"};

const OptionRow kRows[OptionTable::kRowCount + 1] = {
    {"L", 0x0, "show license", nullptr, 0, 0, nullptr, 0},
    {"h", 0x0, "show help", nullptr, 0, 0, nullptr, 0},
    {"version", 0x0, "show version", nullptr, 0, 0, nullptr, 0},
    {"formats", 0x0, "show available formats, codecs, protocols, ...", nullptr, 0, 0, nullptr, 0},
    {"f", 0x1, "force format", "fmt", 0, 0, nullptr, 0},
    {"i", 0x1, "input file name", "filename", 0, 0, nullptr, 0},
    {"y", 0x2, "overwrite output files", nullptr, 0, 0, nullptr, 0},
    {"map", 0x5, "set input stream mapping", "file:stream[:syncfile:syncstream]", 0, 0, nullptr, 0},
    {"map_meta_data", 0x5, "set meta data information of outfile from infile", "outfile:infile", 0,
     0, nullptr, 0},
    {"t", 0x1, "set the recording time", "Duration", 2, 0, nullptr, 0},
    {"fs", 0x81, "set the limit file size", "limit_size", 0, 0, nullptr, 0},
    {"ss", 0x1, "set the start time offset", "Start Time", 1, 0, nullptr, 0},
    {"itsoffset", 0x1, "set the input ts offset", "time_off", 0, 0, nullptr, 0},
    {"title", 0x9, "set the title", "Title", 3, 0, nullptr, 0},
    {"timestamp", 0x1, "set the timestamp", "Time stamp", 8, 0, nullptr, 0},
    {"author", 0x9, "set the author", "Author", 4, 0, nullptr, 0},
    {"copyright", 0x9, "set the copyright", "Copyright", 5, 0, nullptr, 0},
    {"comment", 0x9, "set the comment", "Comment", 6, 0, nullptr, 0},
    {"album", 0x9, "set the album", "Album", 7, 0, nullptr, 0},
    {"benchmark", 0x6, "add timings for benchmarking", nullptr, 0, 0, nullptr, 0},
    {"dump", 0x6, "dump each input packet", nullptr, 0, 0, nullptr, 0},
    {"hex", 0x6, "when dumping packets, also dump the payload", nullptr, 0, 0, nullptr, 0},
    {"re", 0x6, "read input at native frame rate", nullptr, 0, 0, nullptr, 0},
    {"loop_input", 0x6, "loop (current only works with images)", nullptr, 0, 0, nullptr, 0},
    {"loop_output", 0x85,
     "number of times to loop output in formats that support looping (0 loops forever)", nullptr, 0,
     0, nullptr, 0},
    {"v", 0x1, "control amount of logging", "verbose", 0, 0, nullptr, 0},
    {"target", 0x1,
     "specify target file type (\"vcd\", \"svcd\", \"dvd\", \"dv\", \"dv50\", \"pal-vcd\", "
     "\"ntsc-svcd\", ...)",
     "type", 0, 0, nullptr, 0},
    {"threads", 0x5, "thread count", "count", 0, 0, nullptr, 0},
    {"vsync", 0x85, "video sync method", nullptr, 0, 0, nullptr, 0},
    {"async", 0x85, "audio sync method", nullptr, 0, 0, nullptr, 0},
    {"vglobal", 0x85, "video global header storage type", nullptr, 0, 0, nullptr, 0},
    {"copyts", 0x6, "copy timestamps", nullptr, 0, 0, nullptr, 0},
    {"shortest", 0x6, "finish encoding within shortest input", nullptr, 0, 0, nullptr, 0},
    {"dts_delta_threshold", 0x85, "timestamp discontinuity delta threshold", nullptr, 0, 0, nullptr,
     0},
    {"b", 0x11, "set video bitrate (in kbit/s)", "Bit Rate", 54, 1, kVideoBitRates, 12},
    {"vframes", 0x91, "set the number of video frames to record", "number", 0, 0, nullptr, 0},
    {"aframes", 0xa1, "set the number of audio frames to record", "number", 0, 0, nullptr, 0},
    {"dframes", 0x81, "set the number of data frames to record", "number", 0, 0, nullptr, 0},
    {"r", 0x11, "set frame rate (Hz value, fraction or abbreviation)", "Frame Rate", 55, 1,
     kFrameRates, 5},
    {"s", 0x11, "set frame size (WxH or abbreviation)", "Video Size", 53, 1, kFrameSizes, 19},
    {"aspect", 0x11, "set aspect ratio (4:3, 16:9 or 1.3333, 1.7777)", "Aspect", 56, 1, kAspects,
     3},
    {"pix_fmt", 0x15, "set pixel format", "format", 0, 0, nullptr, 0},
    {"croptop", 0x11, "set top crop band size (in pixels)", "size", 0, 0, nullptr, 0},
    {"cropbottom", 0x11, "set bottom crop band size (in pixels)", "size", 0, 0, nullptr, 0},
    {"cropleft", 0x11, "set left crop band size (in pixels)", "size", 0, 0, nullptr, 0},
    {"cropright", 0x11, "set right crop band size (in pixels)", "size", 0, 0, nullptr, 0},
    {"padtop", 0x11, "set top pad band size (in pixels)", "size", 0, 0, nullptr, 0},
    {"padbottom", 0x11, "set bottom pad band size (in pixels)", "size", 0, 0, nullptr, 0},
    {"padleft", 0x11, "set left pad band size (in pixels)", "size", 0, 0, nullptr, 0},
    {"padright", 0x11, "set right pad band size (in pixels)", "size", 0, 0, nullptr, 0},
    {"padcolor", 0x11, "set color of pad bands (Hex 000000 thru FFFFFF)", "color", 0, 0, nullptr,
     0},
    {"intra", 0x16, "use only intra frames", nullptr, 0, 0, nullptr, 0},
    {"vn", 0x12, "disable video", "Disable Video", 99, 2, kOnOff, 2},
    {"vdt", 0x95, "discard threshold", "n", 0, 0, nullptr, 0},
    {"qscale", 0x15, "use fixed video quantizer scale (VBR)", "q", 0, 0, nullptr, 0},
    {"qdiff", 0x15, "max difference between the quantizer scale (VBR)", "q", 0, 0, nullptr, 0},
    {"rc_eq", 0x15, "set rate control equation", "equation", 0, 0, nullptr, 0},
    {"rc_override", 0x15, "rate control override for specific intervals", "override", 0, 0, nullptr,
     0},
    {"vcodec", 0x11, "force video codec ('copy' to copy stream)", "Video Codec", 51, 2,
     kVideoCodecs, 18},
    {"me", 0x15, "set motion estimation method", "method", 0, 0, nullptr, 0},
    {"me_threshold", 0x15, "motion estimaton threshold", nullptr, 0, 0, nullptr, 0},
    {"ps", 0x5, "set packet size in bits", "size", 0, 0, nullptr, 0},
    {"strict", 0x15, "how strictly to follow the standards", "strictness", 0, 0, nullptr, 0},
    {"sameq", 0x12, "use same video quality as source (implies VBR)", nullptr, 0, 0, nullptr, 0},
    {"pass", 0x11, "select the pass number (1 or 2)", "n", 0, 0, nullptr, 0},
    {"passlogfile", 0x19, "select two pass log file name", "file", 0, 0, nullptr, 0},
    {"deinterlace", 0x16, "deinterlace pictures", nullptr, 0, 0, nullptr, 0},
    {"psnr", 0x16, "calculate PSNR of compressed frames", nullptr, 0, 0, nullptr, 0},
    {"vstats", 0x16, "dump video coding statistics to file", nullptr, 0, 0, nullptr, 0},
    {"vhook", 0x15, "insert video processing module", "module", 0, 0, nullptr, 0},
    {"intra_matrix", 0x15, "specify intra matrix coeffs", "matrix", 0, 0, nullptr, 0},
    {"inter_matrix", 0x15, "specify inter matrix coeffs", "matrix", 0, 0, nullptr, 0},
    {"top", 0x15, "top=1/bottom=0/auto=-1 field first", nullptr, 0, 0, nullptr, 0},
    {"dc", 0x95, "intra_dc_precision", "precision", 0, 0, nullptr, 0},
    {"vtag", 0x15, "force video tag/fourcc", "fourcc/tag", 0, 0, nullptr, 0},
    {"newvideo", 0x10, "add a new video stream to the current output stream", nullptr, 0, 0,
     nullptr, 0},
    {"qphist", 0x16, "show QP histogram", nullptr, 0, 0, nullptr, 0},
    {"ab", 0x21, "set audio bitrate (in kbit/s)", "Bit Rate", 102, 1, kAudioBitRates, 14},
    {"aq", 0x121, "set audio quality (codec-specific)", "quality", 0, 0, nullptr, 0},
    {"ar", 0x21, "set audio sampling rate (in Hz)", "Sample Rate", 103, 1, kSampleRates, 4},
    {"ac", 0x21, "set number of audio channels", "Channels", 104, 2, kChannels, 3},
    {"an", 0x22, "disable audio", "Disable Audio", 105, 2, kOnOff, 2},
    {"acodec", 0x21, "force audio codec ('copy' to copy stream)", "Audio Codec", 101, 2,
     kAudioCodecs, 1},
    {"atag", 0x25, "force audio tag/fourcc", "fourcc/tag", 0, 0, nullptr, 0},
    {"vol", 0xa1, "change audio volume (256=normal)", "volume", 0, 0, nullptr, 0},
    {"newaudio", 0x20, "add a new audio stream to the current output stream", nullptr, 0, 0,
     nullptr, 0},
    {"alang", 0x29, "set the ISO 639 language code (3 letters) of the current audio stream", "code",
     0, 0, nullptr, 0},
    {"scodec", 0x201, "force subtitle codec ('copy' to copy stream)", "codec", 0, 0, nullptr, 0},
    {"newsubtitle", 0x200, "add a new subtitle stream to the current output stream", nullptr, 0, 0,
     nullptr, 0},
    {"slang", 0x209, "set the ISO 639 language code (3 letters) of the current subtitle stream",
     "code", 0, 0, nullptr, 0},
    {"vd", 0x55, "set video grab device", "device", 0, 0, nullptr, 0},
    {"vc", 0x55, "set video grab channel (DV1394 only)", "channel", 0, 0, nullptr, 0},
    {"tvstd", 0x55, "set television standard (NTSC, PAL (SECAM))", "Standard", 52, 1, kTvStandards,
     3},
    {"ad", 0x65, "set audio device", "device", 0, 0, nullptr, 0},
    {"grab", 0x45, "request grabbing using", "format", 0, 0, nullptr, 0},
    {"gd", 0x55, "set grab device", "device", 0, 0, nullptr, 0},
    {"muxdelay", 0x105, "set the maximum demux-decode delay", "seconds", 0, 0, nullptr, 0},
    {"muxpreload", 0x105, "set the initial demux-decode delay", "seconds", 0, 0, nullptr, 0},
    {"absf", 0x25, nullptr, "bitstream filter", 0, 0, nullptr, 0},
    {"vbsf", 0x15, nullptr, "bitstream filter", 0, 0, nullptr, 0},
    {"default", 0x435, "generic catch all option", nullptr, 0, 0, nullptr, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, nullptr, 0},
};

// Quality steps of constant-quality encoding; a profile lists the range of its own codec.
const char* const kQualities[] = {"18", "20", "23", "26", "28", "32"};
// The x264 / x265 speed presets, fastest first, except that "fast" stands before "faster":
// the editor finds a value by prefix, and "fast" would otherwise show as "faster".
const char* const kSpeeds[] = {"ultrafast", "superfast", "veryfast", "fast",    "faster",
                               "medium",    "slow",      "slower",   "veryslow"};

const char* const kAudioTracks[] = {"all", "first"};
const char* const kLoudness[] = {"off", "-23", "-16"};
const char* const kSubtitles[] = {"none", "keep", "burn", "forced"};
const char* const kMetadata[] = {"keep", "strip"};
const char* const kCrops[] = {"none", "auto"};
const char* const kInterlace[] = {"off", "auto", "on"};

// Today's encoders take options the old tool had no name for. They follow the table's own
// rows, which stay as they are, and sort after "aspect" in the editor.
const OptionRow kLaterRows[OptionTable::kLaterRowCount] = {
    {"crf", 0x11,
     "constant quality: lower is better and larger (0-51 for H.264/H.265, 0-63 for AV1/VP9); "
     "no bit rate is forced",
     "Quality (CRF)", 57, 1, kQualities, 6},
    {"preset", 0x11,
     "the encoder's speed preset: ultrafast ... veryslow for H.264/H.265, 0 (slowest) to 13 "
     "for AV1; VP9 takes the H.264 names",
     "Speed", 58, 1, kSpeeds, 9},
    {"audio_tracks", 0x21,
     "which sound tracks are kept: all, the first, or languages in order joined by \"+\" "
     "(fra+eng)",
     "Audio Tracks", 106, 1, kAudioTracks, 2},
    {"loudness", 0x21,
     "even out loudness (EBU R128, two passes) to a target in LUFS: -23 broadcast, -16 phones "
     "and the web",
     "Loudness", 107, 1, kLoudness, 3},
    {"subtitles", 0x1,
     "none, keep (as text where the container has its own), burn (the first, or burn:fra) or "
     "forced only",
     "Subtitles", 9, 1, kSubtitles, 4},
    {"metadata", 0x1, "keep or strip chapters, title, languages, creation date and rotation",
     "Chapters and Metadata", 10, 2, kMetadata, 2},
    {"crop", 0x1011,
     "black borders: none, auto (found on samples over the whole file) or "
     "top:bottom:left:right in pixels",
     "Crop", 61, 1, kCrops, 2},
    {"interlace", 0x1011, "deinterlace: off, auto (only a source found interlaced) or on",
     "Deinterlace", 62, 2, kInterlace, 3},
    {"target_ssim", 0x11,
     "the SSIM (0.90-0.999) this file should reach: the CRF is chosen for it from short samples; "
     "empty leaves the quality as set",
     "Target quality (SSIM)", 90, 0, nullptr, 0},
    {"target_mb", 0x11,
     "the size in megabytes (1,000,000 bytes) the file should come out at, never over: two "
     "passes at the bit rate it allows; empty leaves the size open",
     "Target size (MB)", 91, 0, nullptr, 0},
};

} // namespace

const OptionRow* OptionTable::rows()
{
    return kRows;
}

const OptionRow* OptionTable::laterRows()
{
    return kLaterRows;
}

const OptionRow& FindOption(QByteArrayView name)
{
    // A linear walk is plenty for 101 rows, and it keeps the lookup exact and case-sensitive.
    for (const OptionRow& later : kLaterRows)
        if (name == QByteArrayView(later.name))
            return later;
    const OptionRow* row = kRows;
    while (row->name && name != QByteArrayView(row->name))
        ++row;
    return *row;
}
