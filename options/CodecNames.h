#pragma once

#include <QString>

class EncoderCatalogue;

// The old tool's codec names (as the converter writes them) and the encoders of this FFmpeg.
// Shared by the encoder tool, which translates with it, and the program, which checks with it
// at start-up whether the installed FFmpeg can make each profile.
class CodecNames
{
public:
    struct Choice
    {
        QString encoder;    // name for -c:v / -c:a; empty: let the output format choose
        QString note;       // one line for the log when the choice differs from what was asked
        int sampleRate = 0; // a rate the replaced codec implied (AMR), 0 when none
    };

    // The encoder for a legacy video codec name ("xvid", "libxvid", "msmpeg4v1", "copy"...),
    // among those `ffmpeg` has.
    static Choice video(const QString& legacy, const EncoderCatalogue& ffmpeg);
    // The encoder for a legacy audio codec name ("mp3", "libfaac", "libamr_nb", "copy"...).
    static Choice audio(const QString& legacy, const EncoderCatalogue& ffmpeg);
};
