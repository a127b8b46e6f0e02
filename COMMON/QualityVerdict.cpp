#include "QualityVerdict.h"

#include "EncoderToolContract.h"

#include <QList>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Beyond any size share, PSNR or CRF a measure gives.
constexpr double kLargestFigure = 1e6;
constexpr double kLargestCrf = 255;

} // namespace

double QualityVerdict::ssimDb() const
{
    // A perfect match would be infinite; 100 dB stands for it.
    return ssim >= 1.0 ? 100.0 : -10.0 * std::log10(1.0 - ssim);
}

std::optional<QualityVerdict> QualityVerdict::fromToolLine(const QByteArray& line)
{
    namespace C = EncoderToolContract;
    const QByteArray text = line.trimmed();
    if (!text.startsWith(C::kVerdictWord))
        return std::nullopt;
    QualityVerdict v;
    QByteArray rest = text.mid(int(sizeof C::kVerdictWord) - 1).trimmed();
    const int why = rest.indexOf(C::kVerdictUnmeasured);
    if (why >= 0) {
        v.unmeasured =
            QString::fromLocal8Bit(rest.mid(why + int(sizeof C::kVerdictUnmeasured) - 1).trimmed());
        rest.truncate(why);
    }
    const auto number = [](const QByteArray& word, const char* key, double& value) {
        if (!word.startsWith(key))
            return false;
        bool ok = false;
        const double read = word.mid(int(std::strlen(key))).toDouble(&ok);
        // A figure no measure gives is not taken: shown, it would not even fit the text.
        if (ok && std::isfinite(read) && read >= 0 && read <= kLargestFigure)
            value = read;
        return true;
    };
    for (const QByteArray& word : rest.split(' ')) {
        double crf = -1;
        if (number(word, C::kVerdictSize, v.sizeShare) || number(word, C::kVerdictSsim, v.ssim) ||
            number(word, C::kVerdictPsnr, v.psnr))
            continue;
        if (number(word, C::kVerdictCrf, crf)) {
            v.crf = crf >= 0 && crf <= kLargestCrf ? int(crf) : -1;
        } else if (word.startsWith(C::kVerdictSampled)) {
            const QList<QByteArray> parts = word.mid(int(sizeof C::kVerdictSampled) - 1).split('/');
            if (parts.size() == 2) {
                v.measuredSeconds = parts[0].toDouble();
                v.totalSeconds = parts[1].toDouble();
            }
        }
    }
    if (v.ssim > 1.0)
        v.ssim = -1;
    return v;
}

QString QualityVerdict::text() const
{
    QStringList parts;
    if (hasSsim()) {
        // Short enough, sample note and all, for the list's 80-character tooltip.
        parts << QStringLiteral("SSIM %1 (%2 dB)").arg(ssim, 0, 'f', 3).arg(ssimDb(), 0, 'f', 1)
              << QStringLiteral("PSNR %1 dB").arg(psnr, 0, 'f', 1);
        if (sampled())
            parts.last() += QStringLiteral(" on a sample");
    }
    if (sizeShare >= 0)
        parts << QStringLiteral("%1 % of the source's size")
                     .arg(qRound(std::min(sizeShare, kLargestFigure) * 100));
    if (crf >= 0)
        parts << QStringLiteral("CRF %1 chosen").arg(crf);
    if (!unmeasured.isEmpty())
        parts << QStringLiteral("quality not measured: ") + unmeasured;
    return parts.join(QStringLiteral(", "));
}
