#pragma once

#include <QString>

// Keeps a picture's display shape where a disc format fixes the frame size: the format's
// aspect flag where it has a fitting one (16:9 on DVD and SVCD), else the picture scaled to fit
// and the rest of the frame black (letterbox or pillarbox).
class PictureShape
{
public:
    struct Fit
    {
        bool applies = false; // false: the target is not a fixed-size disc, or nothing to do
        QString aspect;       // the flag to write ("16:9", "4:3")
        int frameWidth = 0, frameHeight = 0;
        int pictureWidth = 0, pictureHeight = 0; // the picture inside the frame
        QString note;                            // what was done, for the log
    };

    // The fit for `target` (with its norm prefix, "pal-dvd") and a source shown at
    // `sourceAspect` (width / height). `userAspect` is the aspect option's value: empty or
    // "Auto" leaves the choice here, as does the shipped profiles' "4:3"; any other value wins
    // and nothing is changed.
    static Fit forTarget(const QString& target, double sourceAspect, const QString& userAspect);
};
