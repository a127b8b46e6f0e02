#include "CEncoderCommandBuilder.h"

#include "CAvsScriptWriter.h"
#include "ConversionJob.h"
#include "EncoderTool.h"
#include "OptionRow.h"
#include "Profile.h"

namespace {

bool sameText(const QByteArray& a, const char* b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Start of both command forms: the tool (never quoted) and its leading word.
EncoderCommand toolStart(const QString& appFolder)
{
    EncoderCommand command;
    command.program = appFolder + EncoderTool::fileName();
    command.text = command.program + QStringLiteral(" ffmpeg-converter");
    command.arguments << QStringLiteral("ffmpeg-converter");
    return command;
}

} // namespace

bool CEncoderCommandBuilder::keepOption(const ProfileOption& option, QByteArray& value,
                                        bool withTimeRules)
{
    value = option.value;
    if (option.flags & OPT_FLAG_SWITCH) {
        if (sameText(value, "False"))
            return false;
        value.clear();
    }
    if (option.flags & OPT_FLAG_ARG) {
        if (value.isEmpty())
            return false;
        if (withTimeRules && sameText(option.name, "t") && sameText(value, "Full"))
            return false;
        if (withTimeRules && sameText(option.name, "ss") && sameText(value, "00:00:00"))
            return false;
    }
    return !sameText(value, "Auto");
}

QByteArray CEncoderCommandBuilder::toolCodec(const QByteArray& value)
{
    static constexpr const char* kCodecs[][2] = {
        {"amr_nb", "libamr_nb"}, {"amr_wb", "libamr_wb"}, {"mp3", "libmp3lame"},
        {"vorbis", "libvorbis"}, {"xvid", "libxvid"},     {"a52", "liba52"},
        {"aad", "libfaad"},      {"aac", "libfaac"},      {"h264", "libx264"},
    };
    for (const auto& row : kCodecs) {
        if (sameText(value, row[0]))
            return row[1];
    }
    return value;
}

EncoderCommand CEncoderCommandBuilder::conversion(const QString& appFolder,
                                                  const QString& toolInput, const Profile* profile,
                                                  const QString& outputPath)
{
    EncoderCommand command = toolStart(appFolder);
    command.text += QStringLiteral(" -i ") + quoted(toolInput) + QLatin1Char(' ');
    command.arguments << QStringLiteral("-i") << toolInput;

    for (const ProfileOption* option = profile ? profile->firstOption : nullptr; option;
         option = option->next) {
        QByteArray value;
        if (!keepOption(*option, value, true))
            continue;
        if (sameText(option->name, "vcodec") || sameText(option->name, "acodec"))
            value = toolCodec(value);
        if (option->name == "ac")
            value.truncate(1);
        else if (option->name == "b" || option->name == "ab")
            value += 'k';
        const QString name = QLatin1Char('-') + QString::fromLocal8Bit(option->name);
        const QString text = QString::fromLocal8Bit(value);
        command.text += name + QLatin1Char(' ') + text + QLatin1Char(' ');
        // A value is one argument whatever it holds; a switch has none.
        command.arguments << name;
        if (!text.isEmpty())
            command.arguments << text;
    }

    command.text +=
        QStringLiteral(" -async 24 -vsync 24 ") + QStringLiteral(" -y ") + quoted(outputPath);
    command.arguments << QStringLiteral("-async") << QStringLiteral("24")
                      << QStringLiteral("-vsync") << QStringLiteral("24") << QStringLiteral("-y")
                      << outputPath;
    return command;
}

EncoderCommand CEncoderCommandBuilder::forJob(const QString& appFolder, const ConversionJob& job,
                                              const QString& outputPath, const QString& scriptName)
{
    const bool viaScript =
        job.media.probedByDirectShow == 1 && !CAvsScriptWriter::isDirectExtension(job.inputPath);
    return conversion(appFolder, viaScript ? appFolder + scriptName : job.inputPath,
                      job.profile.get(), outputPath);
}

EncoderCommand CEncoderCommandBuilder::information(const QString& appFolder, const QString& path)
{
    EncoderCommand command = toolStart(appFolder);
    command.text += QStringLiteral(" -info ") + quoted(path);
    command.arguments << QStringLiteral("-info") << path;
    return command;
}

QString CEncoderCommandBuilder::eventText(const EncoderCommand& command)
{
    const qsizetype at = command.text.indexOf(QStringLiteral("-i"), command.program.size());
    return at < 0 ? QString() : command.text.mid(at);
}
