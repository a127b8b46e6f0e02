#include "QualityOptions.h"

namespace {

bool isX26x(const QString& e)
{
    return e == QLatin1String("libx264") || e == QLatin1String("libx264rgb") ||
           e == QLatin1String("libx265");
}

bool isVpx(const QString& e)
{
    return e == QLatin1String("libvpx-vp9") || e == QLatin1String("libvpx");
}

} // namespace

int QualityOptions::crfCeiling(const QString& e)
{
    if (isX26x(e))
        return 51;
    if (isVpx(e) || e == QLatin1String("libsvtav1") || e == QLatin1String("libaom-av1"))
        return 63;
    return -1;
}

namespace {

// libvpx has no presets: its deadline and cpu-used give the same choice of speed.
struct VpxSpeed
{
    const char* deadline;
    const char* cpuUsed;
};
constexpr VpxSpeed kVpxSpeeds[] = {
    {"realtime", "8"}, {"realtime", "7"}, {"realtime", "6"}, {"good", "5"}, {"good", "4"},
    {"good", "3"},     {"good", "2"},     {"good", "1"},     {"good", "0"}, {"best", "0"},
};

QString refuse(const QString& option, const QString& value, const QString& encoder,
               const QString& takes)
{
    return QStringLiteral("encode: -%1 \"%2\" is not a value the %3 encoder takes; it takes %4")
        .arg(option, value, encoder, takes);
}

bool wholeNumber(const QString& text, int low, int high, int& value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

} // namespace

const QStringList& QualityOptions::presetNames()
{
    static const QStringList names{"ultrafast", "superfast", "veryfast", "faster",   "fast",
                                   "medium",    "slow",      "slower",   "veryslow", "placebo"};
    return names;
}

namespace {

// -crf for a named encoder, checked against the range it takes.
void addCrf(const QString& encoder, const QString& crf, bool hasBitRate, QualityOptions::Result& r)
{
    const int ceiling = QualityOptions::crfCeiling(encoder);
    if (ceiling < 0) {
        r.refusal = QStringLiteral("encode: the %1 encoder has no constant-quality mode "
                                   "(-crf \"%2\"); give a bit rate instead")
                        .arg(encoder, crf);
        return;
    }
    bool ok = false;
    const double value = crf.toDouble(&ok);
    // x264 and x265 take fractions; the others whole steps.
    const bool whole = isX26x(encoder) || value == int(value);
    if (!ok || !whole || value < 0 || value > ceiling) {
        r.refusal = refuse(
            QStringLiteral("crf"), crf, encoder,
            QStringLiteral("%1 from 0 to %2")
                .arg(isX26x(encoder) ? QLatin1String("a number") : QLatin1String("a whole number"))
                .arg(ceiling));
        return;
    }
    r.arguments << QStringLiteral("-crf") << crf;
    // libvpx reads a bit rate of its own as a cap; without one it needs 0 for pure quality.
    if (isVpx(encoder) && !hasBitRate)
        r.arguments << QStringLiteral("-b:v") << QStringLiteral("0");
}

// The speed choice for a named encoder, in the words that encoder takes.
void addPreset(const QString& encoder, const QString& preset, QualityOptions::Result& r)
{
    const QString name = preset.toLower();
    const qsizetype step = QualityOptions::presetNames().indexOf(name);
    int number = 0;
    if (isX26x(encoder) || isVpx(encoder)) {
        if (step < 0) {
            r.refusal = refuse(QStringLiteral("preset"), preset, encoder,
                               QualityOptions::presetNames().join(QStringLiteral(", ")));
            return;
        }
        if (isX26x(encoder)) {
            r.arguments << QStringLiteral("-preset") << name;
            return;
        }
        const VpxSpeed& speed = kVpxSpeeds[step];
        r.arguments << QStringLiteral("-deadline") << QLatin1String(speed.deadline)
                    << QStringLiteral("-cpu-used") << QLatin1String(speed.cpuUsed)
                    << QStringLiteral("-row-mt") << QStringLiteral("1");
    } else if (encoder == QLatin1String("libsvtav1")) {
        if (!wholeNumber(preset, 0, 13, number)) {
            r.refusal = refuse(QStringLiteral("preset"), preset, encoder,
                               QStringLiteral("a number from 0 (slowest) to 13 (fastest)"));
            return;
        }
        r.arguments << QStringLiteral("-preset") << QString::number(number);
    } else if (encoder == QLatin1String("libaom-av1")) {
        if (!wholeNumber(preset, 0, 8, number)) {
            r.refusal = refuse(QStringLiteral("preset"), preset, encoder,
                               QStringLiteral("a number from 0 (slowest) to 8 (fastest)"));
            return;
        }
        r.arguments << QStringLiteral("-cpu-used") << QString::number(number);
    } else {
        r.refusal = QStringLiteral("encode: the %1 encoder has no speed presets "
                                   "(-preset \"%2\")")
                        .arg(encoder, preset);
    }
}

} // namespace

QualityOptions::Result QualityOptions::translate(const QString& encoder, const QString& crfIn,
                                                 const QString& presetIn, bool hasBitRate)
{
    Result r;
    const QString crf = crfIn.trimmed();
    const QString preset = presetIn.trimmed();
    if (crf.isEmpty() && preset.isEmpty())
        return r;
    if (encoder == QLatin1String("copy")) {
        r.notes << QStringLiteral("encode: -crf and -preset not used: the video is copied");
        return r;
    }
    if (encoder.isEmpty()) {
        // The output format picks the encoder; ffmpeg itself says whether it takes them.
        if (!crf.isEmpty())
            r.arguments << QStringLiteral("-crf") << crf;
        if (!preset.isEmpty())
            r.arguments << QStringLiteral("-preset") << preset;
        return r;
    }
    if (!crf.isEmpty())
        addCrf(encoder, crf, hasBitRate, r);
    if (r.refusal.isEmpty() && !preset.isEmpty())
        addPreset(encoder, preset, r);
    return r;
}
