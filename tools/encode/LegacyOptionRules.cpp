#include "LegacyOptionRules.h"

#include "FfmpegCatalogue.h"

#include <QRegularExpression>

#include <span>

namespace {

constexpr LegacyOptionRules::Rename kRenames[] = {
    {"t", "-t", nullptr},
    {"fs", "-fs", nullptr},
    {"threads", "-threads", nullptr},
    {"aspect", "-aspect", nullptr},
    {"qscale", "-q:v", nullptr},
    {"aq", "-q:a", nullptr},
    {"vframes", "-frames:v", nullptr},
    {"aframes", "-frames:a", nullptr},
    {"dframes", "-frames:d", nullptr},
    {"vtag", "-tag:v", nullptr},
    {"atag", "-tag:a", nullptr},
    {"vbsf", "-bsf:v", nullptr},
    {"absf", "-bsf:a", nullptr},
    {"scodec", "-c:s", nullptr},
    {"ar", "-ar", nullptr},
    {"ac", "-ac", nullptr},
    {"pix_fmt", "-pix_fmt", nullptr},
    {"qdiff", "-qdiff:v", nullptr},
    {"rc_eq", "-rc_eq:v", nullptr},
    {"rc_override", "-rc_override:v", nullptr},
    {"ps", "-ps:v", nullptr},
    {"strict", "-strict", nullptr},
    {"pass", "-pass", nullptr},
    {"passlogfile", "-passlogfile", nullptr},
    {"intra_matrix", "-intra_matrix", nullptr},
    {"inter_matrix", "-inter_matrix", nullptr},
    {"top", "-top", nullptr},
    {"dc", "-dc:v", nullptr},
    {"muxdelay", "-muxdelay", nullptr},
    {"muxpreload", "-muxpreload", nullptr},
    {"dts_delta_threshold", "-dts_delta_threshold", nullptr},
    {"vn", "-vn", nullptr},
    {"an", "-an", nullptr},
    {"copyts", "-copyts", nullptr},
    {"shortest", "-shortest", nullptr},
    {"benchmark", "-benchmark", nullptr},
    {"psnr", "-psnr", nullptr},
    {"vstats", "-vstats", nullptr},
    {"qphist", "-qphist", nullptr},
    {"intra", "-g", "1"},
};

struct Refusal
{
    const char* name;
    const char* reason;
    bool capture;
};

constexpr Refusal kRefusals[] = {
    {"L", "it only prints information", false},
    {"h", "it only prints information", false},
    {"version", "it only prints information", false},
    {"formats", "it only prints information", false},
    {"dump", "packet dumps would flood the log", false},
    {"hex", "packet dumps would flood the log", false},
    {"v", "the log level stays at warnings and errors", false},
    {"vdt", "not supported by this FFmpeg", false},
    {"me_threshold", "not supported by this FFmpeg", false},
    {"sameq", "not supported by this FFmpeg; give a bit rate or -qscale", false},
    {"vhook", "not supported by this FFmpeg", false},
    {"newvideo", "not supported by this FFmpeg", false},
    {"newaudio", "not supported by this FFmpeg", false},
    {"newsubtitle", "not supported by this FFmpeg", false},
    {"default", "not supported by this FFmpeg", false},
    {"vd", nullptr, true},
    {"vc", nullptr, true},
    {"ad", nullptr, true},
    {"grab", nullptr, true},
    {"gd", nullptr, true},
    {"tvstd", nullptr, true},
};

constexpr const char* kFilterOptions[] = {
    "croptop", "cropbottom", "cropleft", "cropright",   "padtop", "padbottom",
    "padleft", "padright",   "padcolor", "deinterlace", "vol",    "async",
};

// Old pixel format names that FFmpeg renamed.
constexpr const char* kPixelFormats[][2] = {
    {"yuv422", "yuyv422"},  {"rgba32", "bgra"},     {"rgb32", "bgra"},      {"rgb565", "rgb565le"},
    {"rgb555", "rgb555le"}, {"bgr565", "bgr565le"}, {"bgr555", "bgr555le"},
};

QString optionText(const LegacyOption& o)
{
    QString text = QLatin1Char('-') + o.name;
    if (o.hasValue)
        text += QStringLiteral(" \"%1\"").arg(o.value);
    return text;
}

} // namespace

const LegacyOptionRules::Rename* LegacyOptionRules::rename(const QString& name)
{
    for (const Rename& rule : kRenames) {
        if (name == QLatin1String(rule.legacy))
            return &rule;
    }
    return nullptr;
}

QString LegacyOptionRules::modernValue(const LegacyOption& option)
{
    if (option.name == QLatin1String("pix_fmt")) {
        for (const auto& row : kPixelFormats) {
            if (option.value.trimmed() == QLatin1String(row[0]))
                return QLatin1String(row[1]);
        }
    }
    return option.value;
}

QString LegacyOptionRules::refusal(const LegacyOption& option)
{
    for (const Refusal& r : kRefusals) {
        if (option.name != QLatin1String(r.name))
            continue;
        if (r.capture)
            return QStringLiteral("encode: option %1 refused: capture devices are not "
                                  "supported; converting the input file")
                .arg(optionText(option));
        return ignored(option, QLatin1String(r.reason));
    }
    return QString();
}

bool LegacyOptionRules::isFilterOption(const QString& name)
{
    for (const char* filterOption : kFilterOptions) {
        if (name == QLatin1String(filterOption))
            return true;
    }
    return false;
}

bool LegacyOptionRules::isModernOption(const QString& nameIn, const FfmpegCatalogue& ffmpeg)
{
    // "b:v" style names carry a stream specifier after the colon.
    const QByteArray name = nameIn.section(QLatin1Char(':'), 0, 0).toLatin1();
    if (name.isEmpty())
        return false;
    return ffmpeg.knowsOption(name);
}

QString LegacyOptionRules::ignored(const LegacyOption& option, const QString& reason)
{
    return QStringLiteral("encode: option %1 ignored: %2").arg(optionText(option), reason);
}

QString LegacyOptionRules::badValue(const LegacyOption& option)
{
    return ignored(option, QStringLiteral("value not understood"));
}

QStringList LegacyOptionRules::mapArguments(const QString& value)
{
    static const QRegularExpression numbers(
        QStringLiteral("^\\s*(\\d+)\\D(\\d+)(\\D\\d+\\D\\d+)?\\s*$"));
    const QRegularExpressionMatch m = numbers.match(value);
    if (!m.hasMatch() || m.captured(1) != QLatin1String("0"))
        return {};
    return {QStringLiteral("-map"), QStringLiteral("0:") + m.captured(2)};
}

QStringList LegacyOptionRules::motionEstimation(const QString& valueIn, const QString& videoCodec)
{
    const QString value = valueIn.trimmed().toLower();
    static const char* const kX264[][2] = {{"zero", "dia"}, {"phods", "dia"}, {"log", "hex"},
                                           {"x1", "hex"},   {"epzs", "hex"},  {"full", "esa"}};
    static const char* const kMpeg[][2] = {
        {"zero", "zero"}, {"epzs", "epzs"}, {"x1", "xone"}, {"xone", "xone"}};
    const bool x264 = videoCodec == QLatin1String("libx264");
    const QString option = x264 ? QStringLiteral("-me_method:v") : QStringLiteral("-motion_est:v");
    for (const auto& row :
         x264 ? std::span<const char* const[2]>(kX264) : std::span<const char* const[2]>(kMpeg))
        if (value == QLatin1String(row[0]))
            return {option, QLatin1String(row[1])};
    return {};
}
