#pragma once

#include "LegacyTranslator.h"

#include <QString>

// Reads the target quality and target size rows of a line into the target the conversion aims
// at, and refuses what no conversion can aim at. Plain function; any thread.
class TargetRequest
{
public:
    // The target `ssimText` and `megabytesText` ask for (either may be empty: not asked) with
    // `videoEncoder`, whose picture is re-encoded when `movingReencoded`; an empty target with
    // `refusal` set (a line for the log) when it cannot be aimed at.
    static ConversionTarget read(const QString& ssimText, const QString& megabytesText,
                                 const QString& videoEncoder, bool movingReencoded,
                                 QString& refusal);
};
