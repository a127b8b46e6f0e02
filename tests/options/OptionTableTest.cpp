#include "OptionTable.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QList<QByteArray> listOf(const OptionRow& row)
{
    QList<QByteArray> items;
    for (int i = 0; i < row.listCount; ++i)
        items.append(row.list[i]);
    return items;
}

QByteArray text(const char* s)
{
    return s ? QByteArray(s) : QByteArray();
}

struct OrderedRow
{
    int order;
    const char* name;
    const char* label;
    unsigned flags;
    int category;
    int kind;
    const char* help;
    QList<QByteArray> list;
};

const QList<QByteArray> kVideoCodecs = {
    "mpeg4",   "msmpeg4", "msmpeg4v1", "msmpeg4v2", "mpeg1video", "mpeg2video",
    "wmv1",    "wmv2",    "h263",      "h263p",     "rawvideo",   "rv10",
    "dvvideo", "huffyuv", "ljpeg",     "mjpeg",     "svq1",       "zlib"};
const QList<QByteArray> kSizes = {"128x96",  "160x120", "176x120", "176x144", "192x144",
                                  "208x176", "220x176", "240x180", "320x200", "320x240",
                                  "352x288", "480x272", "480x480", "480x576", "640x480",
                                  "624x352", "704x576", "720x480", "720x576"};
const QList<QByteArray> kVideoRates = {"128", "192",  "256",  "384",  "512",  "640",
                                       "768", "1000", "1200", "1500", "2000", "2500"};
const QList<QByteArray> kAudioRates = {"32",  "48",  "56",  "64",  "80",  "96",  "112",
                                       "128", "160", "192", "224", "256", "320", "384"};

const OrderedRow kOrdered[] = {
    {1, "ss", "Start Time", 0x1, 3, 0, "set the start time offset", {}},
    {2, "t", "Duration", 0x1, 3, 0, "set the recording time", {}},
    {3, "title", "Title", 0x9, 3, 0, "set the title", {}},
    {4, "author", "Author", 0x9, 3, 0, "set the author", {}},
    {5, "copyright", "Copyright", 0x9, 3, 0, "set the copyright", {}},
    {6, "comment", "Comment", 0x9, 3, 0, "set the comment", {}},
    {7, "album", "Album", 0x9, 3, 0, "set the album", {}},
    {8, "timestamp", "Time stamp", 0x1, 3, 0, "set the timestamp", {}},
    {51, "vcodec", "Video Codec", 0x11, 1, 2, "force video codec ('copy' to copy stream)",
     kVideoCodecs},
    {52,
     "tvstd",
     "Standard",
     0x55,
     1,
     1,
     "set television standard (NTSC, PAL (SECAM))",
     {"Auto", "NTSC", "PAL"}},
    {53, "s", "Video Size", 0x11, 1, 1, "set frame size (WxH or abbreviation)", kSizes},
    {54, "b", "Bit Rate", 0x11, 1, 1, "set video bitrate (in kbit/s)", kVideoRates},
    {55,
     "r",
     "Frame Rate",
     0x11,
     1,
     1,
     "set frame rate (Hz value, fraction or abbreviation)",
     {"23.97", "24.0", "25.0", "29.97", "30.0"}},
    {56,
     "aspect",
     "Aspect",
     0x11,
     1,
     1,
     "set aspect ratio (4:3, 16:9 or 1.3333, 1.7777)",
     {"Auto", "4:3", "16:9"}},
    {99, "vn", "Disable Video", 0x12, 1, 2, "disable video", {"False", "True"}},
    {101,
     "acodec",
     "Audio Codec",
     0x21,
     2,
     2,
     "force audio codec ('copy' to copy stream)",
     {"mp3"}},
    {102, "ab", "Bit Rate", 0x21, 2, 1, "set audio bitrate (in kbit/s)", kAudioRates},
    {103,
     "ar",
     "Sample Rate",
     0x21,
     2,
     1,
     "set audio sampling rate (in Hz)",
     {"22050", "32000", "44100", "48000"}},
    {104,
     "ac",
     "Channels",
     0x21,
     2,
     2,
     "set number of audio channels",
     {"1 (Mono)", "2 (Stereo)", "5 (5.1)"}},
    {105, "an", "Disable Audio", 0x22, 2, 2, "disable audio", {"False", "True"}},
};

const char* const kNamesInOrder[] = {"L",
                                     "h",
                                     "version",
                                     "formats",
                                     "f",
                                     "i",
                                     "y",
                                     "map",
                                     "map_meta_data",
                                     "t",
                                     "fs",
                                     "ss",
                                     "itsoffset",
                                     "title",
                                     "timestamp",
                                     "author",
                                     "copyright",
                                     "comment",
                                     "album",
                                     "benchmark",
                                     "dump",
                                     "hex",
                                     "re",
                                     "loop_input",
                                     "loop_output",
                                     "v",
                                     "target",
                                     "threads",
                                     "vsync",
                                     "async",
                                     "vglobal",
                                     "copyts",
                                     "shortest",
                                     "dts_delta_threshold",
                                     "b",
                                     "vframes",
                                     "aframes",
                                     "dframes",
                                     "r",
                                     "s",
                                     "aspect",
                                     "pix_fmt",
                                     "croptop",
                                     "cropbottom",
                                     "cropleft",
                                     "cropright",
                                     "padtop",
                                     "padbottom",
                                     "padleft",
                                     "padright",
                                     "padcolor",
                                     "intra",
                                     "vn",
                                     "vdt",
                                     "qscale",
                                     "qdiff",
                                     "rc_eq",
                                     "rc_override",
                                     "vcodec",
                                     "me",
                                     "me_threshold",
                                     "ps",
                                     "strict",
                                     "sameq",
                                     "pass",
                                     "passlogfile",
                                     "deinterlace",
                                     "psnr",
                                     "vstats",
                                     "vhook",
                                     "intra_matrix",
                                     "inter_matrix",
                                     "top",
                                     "dc",
                                     "vtag",
                                     "newvideo",
                                     "qphist",
                                     "ab",
                                     "aq",
                                     "ar",
                                     "ac",
                                     "an",
                                     "acodec",
                                     "atag",
                                     "vol",
                                     "newaudio",
                                     "alang",
                                     "scodec",
                                     "newsubtitle",
                                     "slang",
                                     "vd",
                                     "vc",
                                     "tvstd",
                                     "ad",
                                     "grab",
                                     "gd",
                                     "muxdelay",
                                     "muxpreload",
                                     "absf",
                                     "vbsf",
                                     "default"};

TEST(OptionTable, HoldsTheHundredAndOneRowsInTableOrderThenATerminatingRow)
{
    static_assert(std::size(kNamesInOrder) == OptionTable::kRowCount);
    const OptionRow* rows = OptionTable::rows();
    for (int i = 0; i < OptionTable::kRowCount; ++i)
        EXPECT_EQ(text(rows[i].name), QByteArray(kNamesInOrder[i])) << i;
    const OptionRow& end = rows[OptionTable::kRowCount];
    EXPECT_EQ(end.name, nullptr);
    EXPECT_EQ(end.flags, 0u);
    EXPECT_EQ(end.help, nullptr);
    EXPECT_EQ(end.label, nullptr);
    EXPECT_EQ(end.order, 0);
    EXPECT_EQ(end.kind, 0);
    EXPECT_EQ(end.list, nullptr);
    EXPECT_EQ(end.listCount, 0);
}

TEST(OptionTable, EveryNameIsFoundAtItsOwnRow)
{
    QSet<QByteArray> seen;
    for (int i = 0; i < OptionTable::kRowCount; ++i) {
        const OptionRow& row = OptionTable::rows()[i];
        EXPECT_FALSE(seen.contains(row.name)) << row.name;
        seen.insert(row.name);
        EXPECT_EQ(&FindOption(row.name), &row) << row.name;
    }
}

TEST(OptionTable, OrderedRowsCarryTheirLabelsFlagsKindsHelpAndLists)
{
    int withList = 0;
    for (const OrderedRow& want : kOrdered) {
        const OptionRow& row = FindOption(want.name);
        ASSERT_NE(row.name, nullptr) << want.name;
        EXPECT_EQ(row.order, want.order) << want.name;
        EXPECT_EQ(text(row.label), QByteArray(want.label)) << want.name;
        EXPECT_EQ(row.flags, want.flags) << want.name;
        EXPECT_EQ(OptionCategory(row.flags), want.category) << want.name;
        EXPECT_EQ(row.kind, want.kind) << want.name;
        EXPECT_EQ(text(row.help), QByteArray(want.help)) << want.name;
        EXPECT_EQ(listOf(row), want.list) << want.name;
        withList += row.listCount > 0;
    }
    EXPECT_EQ(withList, 12);
}

TEST(OptionTable, OnlyTheTwentyOrderedRowsHaveAPlaceKindOrList)
{
    int ordered = 0;
    for (int i = 0; i < OptionTable::kRowCount; ++i) {
        const OptionRow& row = OptionTable::rows()[i];
        if (row.order != 0) {
            ++ordered;
            continue;
        }
        EXPECT_EQ(row.kind, 0) << row.name;
        EXPECT_EQ(row.list, nullptr) << row.name;
        EXPECT_EQ(row.listCount, 0) << row.name;
    }
    EXPECT_EQ(ordered, 20);
}

struct RowFacts
{
    const char* name;
    unsigned flags;
    int category;
    const char* label; // nullptr: none, the editor shows the name
    const char* help;  // nullptr: none
};

TEST(OptionTable, UnorderedRowsSampledAcrossTheTable)
{
    const RowFacts cases[] = {
        {"L", 0x0, 3, nullptr, "show license"},
        {"formats", 0x0, 3, nullptr, "show available formats, codecs, protocols, ..."},
        {"f", 0x1, 3, "fmt", "force format"},
        {"y", 0x2, 3, nullptr, "overwrite output files"},
        {"target", 0x1, 3, "type",
         "specify target file type (\"vcd\", \"svcd\", \"dvd\", \"dv\", \"dv50\", \"pal-vcd\", "
         "\"ntsc-svcd\", ...)"},
        {"loop_output", 0x85, 3, nullptr,
         "number of times to loop output in formats that support looping (0 loops forever)"},
        {"vframes", 0x91, 1, "number", "set the number of video frames to record"},
        {"aframes", 0xa1, 2, "number", "set the number of audio frames to record"},
        {"padcolor", 0x11, 1, "color", "set color of pad bands (Hex 000000 thru FFFFFF)"},
        {"me_threshold", 0x15, 1, nullptr, "motion estimaton threshold"},
        {"vtag", 0x15, 1, "fourcc/tag", "force video tag/fourcc"},
        {"newvideo", 0x10, 1, nullptr, "add a new video stream to the current output stream"},
        {"aq", 0x121, 2, "quality", "set audio quality (codec-specific)"},
        {"vol", 0xa1, 2, "volume", "change audio volume (256=normal)"},
        {"slang", 0x209, 3, "code",
         "set the ISO 639 language code (3 letters) of the current subtitle stream"},
        {"ad", 0x65, 2, "device", "set audio device"},
        {"grab", 0x45, 3, "format", "request grabbing using"},
        {"muxpreload", 0x105, 3, "seconds", "set the initial demux-decode delay"},
        {"absf", 0x25, 2, "bitstream filter", nullptr},
        {"vbsf", 0x15, 1, "bitstream filter", nullptr},
        {"default", 0x435, 1, nullptr, "generic catch all option"},
    };
    for (const RowFacts& want : cases) {
        const OptionRow& row = FindOption(want.name);
        ASSERT_NE(row.name, nullptr) << want.name;
        EXPECT_EQ(row.flags, want.flags) << want.name;
        EXPECT_EQ(OptionCategory(row.flags), want.category) << want.name;
        EXPECT_EQ(text(row.label), text(want.label)) << want.name;
        EXPECT_EQ(text(row.help), text(want.help)) << want.name;
    }
}

TEST(OptionTable, TheTwoBitRatesAreToldApartByCategory)
{
    const OptionRow& video = FindOption("b");
    const OptionRow& audio = FindOption("ab");
    EXPECT_EQ(QByteArray(video.label), QByteArray(audio.label));
    EXPECT_EQ(OptionCategory(video.flags), OPT_CATEGORY_VIDEO);
    EXPECT_EQ(OptionCategory(audio.flags), OPT_CATEGORY_AUDIO);
    // Bit 0x40 rides along with the Video bit; the Audio bit of "aq" with 0x100.
    EXPECT_EQ(OptionCategory(FindOption("tvstd").flags), OPT_CATEGORY_VIDEO);
    EXPECT_EQ(OptionCategory(FindOption("aq").flags), OPT_CATEGORY_AUDIO);
}

TEST(OptionTable, FlagsZeroOptionsNeitherTakeAValueNorSwitch)
{
    for (const char* name : {"L", "h", "version", "formats"}) {
        const OptionRow& row = FindOption(name);
        EXPECT_EQ(row.flags & (OPT_FLAG_ARG | OPT_FLAG_SWITCH), 0u) << name;
        EXPECT_EQ(OptionCategory(row.flags), OPT_CATEGORY_GENERAL) << name;
    }
}

TEST(OptionTable, LookupIsExactAndCaseSensitive)
{
    const OptionRow* end = OptionTable::rows() + OptionTable::kRowCount;
    for (const char* name :
         {"VCODEC", "Vcodec", "vcodec ", " vcodec", "vcode", "vcodecs", "", "l", "AB", "S"})
        EXPECT_EQ(&FindOption(name), end) << '"' << name << '"';
    EXPECT_EQ(QByteArray(FindOption("vcodec").name), QByteArray("vcodec"));
    EXPECT_EQ(QByteArray(FindOption("L").name), QByteArray("L"));
}

} // namespace
