#include "TargetRequest.h"

#include "QualityOptions.h"

ConversionTarget TargetRequest::read(const QString& ssimText, const QString& megabytesText,
                                     const QString& videoEncoder, bool movingReencoded,
                                     QString& refusal)
{
    const auto refuse = [&refusal](const QString& why) {
        refusal = QStringLiteral("encode: ") + why;
        return ConversionTarget{};
    };
    ConversionTarget t;
    bool ok = false;
    if (!ssimText.isEmpty()) {
        t.ssim = ssimText.toDouble(&ok);
        if (!ok || t.ssim < 0.9 || t.ssim > 0.999)
            return refuse(QStringLiteral("-target_ssim \"%1\" is no target quality; give an "
                                         "SSIM from 0.90 to 0.999")
                              .arg(ssimText));
    }
    if (!megabytesText.isEmpty()) {
        t.megabytes = megabytesText.toDouble(&ok);
        if (!ok || t.megabytes <= 0)
            return refuse(QStringLiteral("-target_mb \"%1\" is no size; give the megabytes "
                                         "the file should come out at")
                              .arg(megabytesText));
    }
    if (t.ssim > 0 && t.megabytes > 0)
        return refuse(QStringLiteral("give a target quality or a target size, not both"));
    t.videoEncoder = videoEncoder;
    if (!movingReencoded)
        return refuse(QStringLiteral("a target quality or size needs a moving picture that is "
                                     "re-encoded"));
    if (t.ssim > 0 && QualityOptions::crfCeiling(videoEncoder) < 0)
        return refuse(QStringLiteral("the %1 encoder has no constant-quality mode for a target "
                                     "quality; choose an H.264, H.265, AV1 or VP9 profile")
                          .arg(videoEncoder));
    return t;
}
