#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One option of the old tool's language, as it stood on the command line.
struct LegacyOption
{
    QString name; // without the leading dash
    QString value;
    bool hasValue = false;
};

// The command lines the converter builds for the tool:
//   ffmpeg-converter -info PATH
//   ffmpeg-converter -i IN [-name value | -switch]... -async 24 -vsync 24 -y OUT
class LegacyCommandLine
{
public:
    enum class Mode
    {
        Invalid,
        Info,
        Convert,
        Capabilities // lists the encoders and formats of this FFmpeg
    };

    // Splits the tool's arguments (without the program name); never throws.
    static LegacyCommandLine parse(const QStringList& args);

    // True when `name` is an option of the old language that takes a value.
    static bool takesValue(const QString& name);

    Mode mode = Mode::Invalid;
    QString input;
    QString output;
    QList<LegacyOption> options; // in command-line order, without -i and the output
    QString error;               // why the line is Invalid
};
