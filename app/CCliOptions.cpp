#include "CCliOptions.h"

#include "OutputNamePattern.h"

namespace {

// Sets the switch `argument` names; false when it names none.
bool takeSwitch(const QString& argument, CCliOptions& options)
{
    const struct
    {
        const char* name;
        bool CCliOptions::*flag;
    } switches[] = {
        {"--help", &CCliOptions::help},
        {"-h", &CCliOptions::help},
        {"--version", &CCliOptions::version},
        {"--list-profiles", &CCliOptions::listProfiles},
        {"--overwrite", &CCliOptions::overwrite},
        {"--shutdown", &CCliOptions::shutdown},
        {"--keep-dates", &CCliOptions::keepDates},
        {"--keep-going", &CCliOptions::keepGoing},
        {"--dry-run", &CCliOptions::dryRun},
        {"--no-segments", &CCliOptions::noSegments},
        {"--restart", &CCliOptions::restart},
        {"--skip-same-codec", &CCliOptions::skipSameCodec},
        {"--keep-smaller", &CCliOptions::keepSmaller},
        {"--keep-tree", &CCliOptions::keepTree},
        {"--copy-if-larger", &CCliOptions::copySource},
    };
    for (const auto& entry : switches) {
        if (argument == QLatin1String(entry.name)) {
            options.*entry.flag = true;
            return true;
        }
    }
    return false;
}

// Takes an option with a value, "--name value" or "--name=value", moving `i` past the value;
// false with options.error set when it is unknown or its value is missing or bad.
bool takeValue(const QStringList& arguments, qsizetype& i, CCliOptions& options)
{
    const QString& argument = arguments[i];
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString name = equals < 0 ? argument : argument.left(equals);
    if (name != QLatin1String("--profile") && name != QLatin1String("--output") &&
        name != QLatin1String("--jobs") && name != QLatin1String("--name") &&
        name != QLatin1String("--watch") && name != QLatin1String("--min-ssim")) {
        options.error = QStringLiteral("Unknown option: %1").arg(argument);
        return false;
    }
    QString value;
    if (equals >= 0) {
        value = argument.mid(equals + 1);
    } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
    } else {
        options.error = QStringLiteral("The option %1 needs a value.").arg(name);
        return false;
    }
    if (name == QLatin1String("--profile")) {
        options.profile = value;
    } else if (name == QLatin1String("--output")) {
        options.output = value;
    } else if (name == QLatin1String("--watch")) {
        options.watch = value;
    } else if (name == QLatin1String("--name")) {
        options.namePattern = value;
        if (const QString problem = OutputNamePattern::problem(value); !problem.isEmpty()) {
            options.error =
                QStringLiteral("The name pattern \"%1\" cannot be used: %2.").arg(value, problem);
            return false;
        }
    } else if (name == QLatin1String("--min-ssim")) {
        bool number = false;
        const double least = value.toDouble(&number);
        options.minSsim = least;
        if (!number || least <= 0 || least >= 1) {
            options.error =
                QStringLiteral("The option --min-ssim needs a number between 0 and 1, not \"%1\".")
                    .arg(value);
            return false;
        }
    } else {
        bool number = false;
        const int jobs = value.toInt(&number);
        options.jobs = jobs;
        if (!number || jobs < 1 || jobs > CCliOptions::kMaxJobs) {
            options.error =
                QStringLiteral("The option --jobs needs a number from 1 to %1, not \"%2\".")
                    .arg(CCliOptions::kMaxJobs)
                    .arg(value);
            return false;
        }
    }
    return true;
}

} // namespace

CCliOptions CCliOptions::Parse(const QStringList& arguments)
{
    CCliOptions options;
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (onlyFiles || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-')))
            options.files += argument;
        else if (argument == QLatin1String("--"))
            onlyFiles = true;
        else if (!takeSwitch(argument, options) && !takeValue(arguments, i, options))
            return options;
    }
    if (options.watch && !options.files.isEmpty())
        options.error = QStringLiteral("--watch converts what arrives in its folder; name no other "
                                       "files.");
    else if (options.watch && options.dryRun)
        options.error = QStringLiteral("--watch and --dry-run do not go together.");
    else if (!options.help && !options.version && !options.listProfiles && !options.watch &&
             options.files.isEmpty())
        options.error = QStringLiteral("No file to convert was given.");
    return options;
}
