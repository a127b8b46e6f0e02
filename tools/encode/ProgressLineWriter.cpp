#include "ProgressLineWriter.h"

#include "EncoderToolContract.h"

#include <cmath>
#include <cstdio>

namespace {

// ffmpeg writes "N/A" or nothing while a figure is unknown; the line wants a number.
double number(const QByteArray& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

int64_t wholeNumber(const QByteArray& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

// Longest time a line reports, in seconds: the most an int holds.
constexpr double kLongestSeconds = 2147483647.0;
// Largest fps, quantiser or bit rate a line shows (13 digits before the point).
constexpr double kLargestFigure = 1e12;

// Every value is a number without blanks, so the words before "time=" are the format's.
constexpr char kLineFormat[] =
    "frame= %lld fps= %.1f q= %.1f size= %lldkB time=%.2f bitrate= %.1fkbits/s\n";
static_assert(EncoderToolContract::wordsBeforeTime(kLineFormat) ==
              EncoderToolContract::kWordsBeforeTime);

// `value` held to [low, high]; 0 for a value that is not a number.
double bounded(double value, double low, double high)
{
    if (std::isnan(value))
        return 0.0;
    return value < low ? low : value > high ? high : value;
}

} // namespace

QByteArray ProgressLineWriter::format(const Figures& f)
{
    // Figures are held to a range that keeps the line short: an absurd fps or quantiser is
    // cut rather than losing the line, and the time stays one an int reader can hold.
    const double seconds = bounded(f.seconds, 0.0, kLongestSeconds);
    char buffer[256];
    const int n = std::snprintf(
        buffer, sizeof buffer, kLineFormat, (long long)(f.frame > 0 ? f.frame : 0),
        bounded(f.fps, 0.0, kLargestFigure), bounded(f.quality, -kLargestFigure, kLargestFigure),
        (long long)(f.sizeBytes > 0 ? f.sizeBytes / 1024 : 0), seconds,
        bounded(f.kbitsPerSecond, 0.0, kLargestFigure));
    return QByteArray(buffer, n > 0 && n < int(sizeof buffer) ? n : 0);
}

bool ProgressLineWriter::feed(const QByteArray& raw)
{
    const qsizetype eq = raw.indexOf('=');
    if (eq <= 0)
        return false;
    const QByteArray key = raw.left(eq).trimmed();
    const QByteArray value = raw.mid(eq + 1).trimmed();

    if (key == "frame") {
        m_figures.frame = wholeNumber(value);
    } else if (key == "fps") {
        m_figures.fps = number(value);
    } else if (key.startsWith("stream_") && key.endsWith("_q")) {
        // The first stream's quantiser, as the old line showed the video's.
        if (key == "stream_0_0_q" || m_figures.quality == 0)
            m_figures.quality = number(value);
    } else if (key == "total_size") {
        m_figures.sizeBytes = wholeNumber(value);
    } else if (key == "out_time_us") {
        m_figures.seconds = double(wholeNumber(value)) / 1e6;
    } else if (key == "bitrate") {
        m_figures.kbitsPerSecond = number(value.left(value.indexOf("kbits")));
    } else if (key == "progress") {
        m_ended = value == "end";
        m_line = format(m_figures);
        return true;
    }
    return false;
}
