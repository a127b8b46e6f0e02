#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// How a converted file compares with its source, as the encoder tool measured it: the output's
// size as a share of the source's and, for a re-encoded picture, SSIM (all planes) and PSNR.
// A plain value: the engine reads it from the tool's line, the job model keeps it per row.
struct QualityVerdict
{
    double sizeShare = -1;      // output bytes over source bytes; < 0 unknown
    double ssim = -1;           // < 0: the picture was not measured
    double psnr = -1;           // dB
    double measuredSeconds = 0; // with totalSeconds: only a sample was measured
    double totalSeconds = 0;
    int crf = -1;            // the quality value a target quality chose; < 0 none
    QString unmeasured;      // why the picture could not be measured
    bool belowFloor = false; // judged by the batch against the user's least SSIM

    // True when the tool said nothing of the file.
    bool isEmpty() const { return sizeShare < 0 && ssim < 0 && unmeasured.isEmpty(); }
    bool hasSsim() const { return ssim >= 0; }
    bool sampled() const { return totalSeconds > 0 && measuredSeconds < totalSeconds; }
    // SSIM in decibels: -10 log10(1 - SSIM).
    double ssimDb() const;

    // The verdict a tool's output line gives; none when the line is not a verdict.
    static std::optional<QualityVerdict> fromToolLine(const QByteArray& line);
    // The words a user reads, e.g. "SSIM 0.984 (18.0 dB), PSNR 41.2 dB, 38 % of the source's
    // size"; empty when there is nothing to say.
    QString text() const;
};
