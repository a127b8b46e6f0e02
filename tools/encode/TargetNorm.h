#pragma once

#include <QString>

// Frame rates and television norms as the old tool wrote and guessed them.
class TargetNorm
{
public:
    // The frame rate for -r: "23.97"/"23.976" and "29.97" (and "59.94") stand for the exact
    // NTSC fractions 24000/1001, 30000/1001 and 60000/1001; other values pass unchanged.
    static QString modernRate(const QString& legacy);

    // Frames per second of a -r value ("25", "29.97", "30000/1001", "pal", "ntsc", "film");
    // 0 when it cannot be read.
    static double rateValue(const QString& rate);

    // The -target value with the norm prefix FFmpeg needs ("pal-", "ntsc-" or "film-"), taken
    // from the requested rate when given, else from the television standard ("PAL", "SECAM",
    // "NTSC"), else from the input's frame rate: 25 and 50 PAL, 24000/1001 film, otherwise NTSC.
    static QString prefixedTarget(const QString& target, const QString& rate,
                                  const QString& tvStandard, double inputRate);
};
