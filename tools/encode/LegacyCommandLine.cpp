#include "LegacyCommandLine.h"

#include "EncoderToolContract.h"
#include "OptionTable.h"

namespace {

// A negative number is a value, not an option ("-itsoffset -2").
bool looksLikeOption(const QString& arg)
{
    if (arg.size() < 2 || arg.at(0) != QLatin1Char('-'))
        return false;
    const QChar c = arg.at(1);
    return !(c.isDigit() || c == QLatin1Char('.'));
}

} // namespace

bool LegacyCommandLine::takesValue(const QString& name)
{
    // The program's own option table says which options take a value.
    return (FindOption(name.toUtf8()).flags & OPT_FLAG_ARG) != 0;
}

LegacyCommandLine LegacyCommandLine::parse(const QStringList& argsIn)
{
    LegacyCommandLine line;
    QStringList args = argsIn;
    if (!args.isEmpty() && args.first() == QLatin1String(EncoderToolContract::kLanguage))
        args.removeFirst();
    if (args.isEmpty()) {
        line.error = QStringLiteral("no command given");
        return line;
    }

    if (args.size() == 1 &&
        args.first() == QLatin1String(EncoderToolContract::kCapabilitiesSwitch)) {
        line.mode = Mode::Capabilities;
        return line;
    }
    if (args.first() == QLatin1String(EncoderToolContract::kInfoSwitch)) {
        if (args.size() != 2) {
            line.error = QStringLiteral("-info needs exactly one file name");
            return line;
        }
        line.mode = Mode::Info;
        line.input = args.at(1);
        return line;
    }

    // The output file is the last word, even one starting with a dash when "-y" stands
    // before it as the converter writes it; everything before it is options and the input.
    const bool outputAfterY = args.size() >= 2 && args.at(args.size() - 2) == QLatin1String("-y");
    if (args.size() < 3 || (looksLikeOption(args.last()) && !outputAfterY)) {
        line.error = QStringLiteral("no output file given");
        return line;
    }
    line.output = args.last();
    const qsizetype end = args.size() - 1;
    for (qsizetype k = 0; k < end; ++k) {
        const QString& arg = args.at(k);
        if (!looksLikeOption(arg)) {
            line.error = QStringLiteral("unexpected word \"%1\"").arg(arg);
            return line;
        }
        LegacyOption option;
        option.name = arg.mid(1);
        const bool hasNext = k + 1 < end;
        if (takesValue(option.name)) {
            if (!hasNext) {
                line.error = QStringLiteral("option -%1 needs a value").arg(option.name);
                return line;
            }
            option.value = args.at(++k);
            option.hasValue = true;
        } else if (hasNext && !looksLikeOption(args.at(k + 1))) {
            // A bare option the converter wrote with a value, or an unknown valued one.
            option.value = args.at(++k);
            option.hasValue = true;
        }
        if (option.name == QLatin1String("i")) {
            if (!line.input.isEmpty()) {
                line.error = QStringLiteral("more than one input given");
                return line;
            }
            line.input = option.value;
            continue;
        }
        line.options.append(option);
    }
    if (line.input.isEmpty()) {
        line.error = QStringLiteral("no input file given (-i)");
        return line;
    }
    line.mode = Mode::Convert;
    return line;
}
