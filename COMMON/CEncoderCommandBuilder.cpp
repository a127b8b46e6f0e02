#include "CEncoderCommandBuilder.h"

#include "CAvsScriptWriter.h"
#include "ConversionJob.h"
#include "EncoderTool.h"
#include "EncoderToolContract.h"
#include "OptionRow.h"
#include "Profile.h"

#include <QFileInfo>

namespace {

bool sameText(const QByteArray& a, const char* b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The tool's arguments in order, each with how trace.log shows it. The argument list is the
// arguments as they are; the text is derived from it: the program, then every argument after
// one blank, file names in quotes, and the empty fields of the recorded layout (a switch's
// missing value, the gaps before the tail's -async and -y) as empty words.
class CommandWords
{
public:
    void add(const QString& argument) { m_words.push_back({argument, Shown::AsIs}); }
    void addPath(const QString& path) { m_words.push_back({path, Shown::Quoted}); }
    // A field the text keeps empty; the tool receives nothing for it.
    void addGap() { m_words.push_back({QString(), Shown::Gap}); }

    EncoderCommand command(const QString& program) const
    {
        EncoderCommand command;
        command.program = program;
        command.text = program;
        for (const Word& word : m_words) {
            command.text += QLatin1Char(' ');
            if (word.shown == Shown::Quoted)
                command.text += QLatin1Char('"') + word.argument + QLatin1Char('"');
            else
                command.text += word.argument;
            if (word.shown != Shown::Gap)
                command.arguments << word.argument;
        }
        return command;
    }

private:
    enum class Shown
    {
        AsIs,
        Quoted,
        Gap
    };
    struct Word
    {
        QString argument;
        Shown shown;
    };
    QList<Word> m_words;
};

QString toolPath(const QString& appFolder)
{
    return appFolder + EncoderTool::fileName();
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
    return (option.flags & OPT_FLAG_AUTO_VALUE) || !sameText(value, "Auto");
}

QByteArray CEncoderCommandBuilder::toolCodec(const QByteArray& value)
{
    for (const EncoderToolContract::WrittenCodec& row : EncoderToolContract::kWrittenCodecs) {
        if (sameText(value, row.profile))
            return row.written;
    }
    return value;
}

EncoderCommand CEncoderCommandBuilder::conversion(const QString& appFolder,
                                                  const QString& toolInput, const Profile* profile,
                                                  const QString& outputPath)
{
    CommandWords words;
    words.add(QLatin1String(EncoderToolContract::kLanguage));
    words.add(QStringLiteral("-i"));
    words.addPath(toolInput);

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
        words.add(QLatin1Char('-') + QString::fromLocal8Bit(option->name));
        // A value is one argument whatever it holds; a switch has none.
        if (value.isEmpty())
            words.addGap();
        else
            words.add(QString::fromLocal8Bit(value));
    }

    words.addGap();
    words.add(QStringLiteral("-async"));
    words.add(QStringLiteral("24"));
    words.add(QStringLiteral("-vsync"));
    words.add(QStringLiteral("24"));
    words.addGap();
    words.add(QStringLiteral("-y"));
    words.addPath(outputPath);
    return words.command(toolPath(appFolder));
}

EncoderCommand CEncoderCommandBuilder::forJob(const QString& appFolder, const ConversionJob& job,
                                              const QString& outputPath, const QString& scriptPath)
{
    const bool viaScript =
        job.media.probedByDirectShow == 1 && !CAvsScriptWriter::isDirectExtension(job.inputPath);
    EncoderCommand command = conversion(appFolder, viaScript ? scriptPath : job.inputPath,
                                        job.profile.get(), outputPath);
    // The tool works in the output folder, as it always has, without the program moving there.
    if (!outputPath.isEmpty())
        command.workingFolder = QFileInfo(outputPath).absolutePath();
    return command;
}

EncoderCommand CEncoderCommandBuilder::information(const QString& appFolder, const QString& path)
{
    CommandWords words;
    words.add(QLatin1String(EncoderToolContract::kLanguage));
    words.add(QLatin1String(EncoderToolContract::kInfoSwitch));
    words.addPath(path);
    return words.command(toolPath(appFolder));
}

QString CEncoderCommandBuilder::eventText(const EncoderCommand& command)
{
    const qsizetype at = command.text.indexOf(QStringLiteral("-i"), command.program.size());
    return at < 0 ? QString() : command.text.mid(at);
}
