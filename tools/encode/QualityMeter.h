#pragma once

#include "LegacyTranslator.h"
#include "MediaProbe.h"

#include <QString>
#include <QStringList>

class StdinWatcher;

// Measures a finished conversion against its source and words the verdict line: the output's
// size as a share of the source's and, for a re-encoded picture, SSIM and PSNR as ffmpeg's own
// filters find them. Both sides are compared at the output's frame size and rate, the source
// through the conversion's own picture filters, so what is compared is what the user sees.
// Long files are measured on windows spread over them, as many as fit in a tenth of the
// conversion's time. Never fails the conversion: a measure that cannot be made says why.
// Tool's main thread.
class QualityMeter
{
public:
    // Share of the conversion's time the measure may take, and the windows it is taken on.
    static constexpr double kCostShare = 0.10;
    static constexpr double kWindowSeconds = 2.0;
    // A file of no more windows than this is measured whole.
    static constexpr int kWholeWindows = 5;

    struct Setup
    {
        QString ffmpeg;
        QString source; // the file converted (a script's source)
        QString output;
        bool pictureExpected = false;
        PictureOrigin origin;
        MediaProbeResult outputProbe;
        qint64 conversionMs = 0;
        const StdinWatcher* watcher = nullptr; // a stop ends the measure unfinished
    };

    // The measured figures; ssim < 0 when the picture was not measured.
    struct Figures
    {
        double sizeShare = -1;
        double ssim = -1;
        double psnr = -1;
        double measuredSeconds = 0;
        double totalSeconds = 0;
        QString unmeasured;
    };

    explicit QualityMeter(Setup setup);

    // Measures; the figures of a copy or a picture-less output hold the size share alone.
    Figures measure();
    // Measures the conversion `setup` describes and writes its verdict line; none for a
    // copied picture.
    static void report(Setup setup);
    // The verdict line of `figures` (with `crf` when a target quality chose one, else -1).
    static QString line(const Figures& figures, int crf = -1);
    // A stretch of the output, from `at` for `length` seconds (all of it when `length` <= 0);
    // the source's matching stretch begins `sourceStart` seconds later.
    struct Window
    {
        double at = 0;
        double length = 0;
        double sourceStart = 0;
    };
    // Adds the window's per-frame SSIM (all planes) and mean squared error to the sums; false
    // and `why` set when ffmpeg could not measure it.
    bool measureWindow(const Window& window, double& ssimSum, double& mseSum, int& frames,
                       QString& why) const;

    // Adds the per-frame figures of each of `outputs` against its entry in `sources`, all
    // measured whole in one run of ffmpeg; false and `why` set when any could not be.
    bool measureBeside(const QStringList& outputs, const QStringList& sources, double& ssimSum,
                       double& mseSum, int& frames, QString& why) const;

private:
    bool measurePairs(const Window& window, const QStringList& outputs, const QStringList& sources,
                      double& ssimSum, double& mseSum, int& frames, QString& why) const;
    QStringList windowArguments(const Window& window, const QStringList& outputs,
                                const QStringList& sources) const;

    Setup m_setup;
};
