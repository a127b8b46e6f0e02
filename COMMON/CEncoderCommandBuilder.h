#pragma once

#include "EncoderCommand.h"

#include <QByteArray>
#include <QString>

struct ConversionJob;
struct Profile;
struct ProfileOption;

// Builds the encoder tool's command lines from a profile: options pass almost verbatim,
// neutral settings are left out, codec names become the tool's library encoders and the
// two bit rates get their unit. Pure functions; any thread.
class CEncoderCommandBuilder
{
public:
    // The conversion command: `toolInput` (the input file or the generated script), the
    // profile's options in chain order, the fixed synchronisation and overwrite tail, output.
    static EncoderCommand conversion(const QString& appFolder, const QString& toolInput,
                                     const Profile* profile, const QString& outputPath);

    // The conversion command of `job` into `outputPath` as the encoder's set-up builds it: the
    // tool reads the script `scriptPath` instead of the input when only the in-process
    // detector could read an input whose kind the tool does not open itself. Writes nothing;
    // the set-up writes the script.
    static EncoderCommand forJob(const QString& appFolder, const ConversionJob& job,
                                 const QString& outputPath, const QString& scriptPath);

    // The information-mode command that asks the tool for a file's duration and frame size.
    static EncoderCommand information(const QString& appFolder, const QString& path);

    // Applies the omission rules to one option; false when it is left out. `value` comes back
    // as it is to be written (empty for a switch). `withTimeRules` also drops t Full and
    // ss 00:00:00, which only the command line omits.
    static bool keepOption(const ProfileOption& option, QByteArray& value, bool withTimeRules);

    // The tool's encoder for a profile codec value ("h264" -> "libx264"); others unchanged.
    static QByteArray toolCodec(const QByteArray& value);

    // The text that the information event records: from the first "-i" after the tool's path
    // on, so that a folder name holding "-i" is not taken for the option.
    static QString eventText(const EncoderCommand& command);
};
