#include "CCliOptions.h"

CCliOptions CCliOptions::Parse(const QStringList& arguments)
{
    CCliOptions options;
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (onlyFiles || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            options.files += argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            onlyFiles = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        if (argument == QLatin1String("--version")) {
            options.version = true;
            continue;
        }
        if (argument == QLatin1String("--list-profiles")) {
            options.listProfiles = true;
            continue;
        }
        if (argument == QLatin1String("--overwrite")) {
            options.overwrite = true;
            continue;
        }
        if (argument == QLatin1String("--shutdown")) {
            options.shutdown = true;
            continue;
        }
        if (argument == QLatin1String("--keep-dates")) {
            options.keepDates = true;
            continue;
        }
        if (argument == QLatin1String("--keep-going")) {
            options.keepGoing = true;
            continue;
        }
        if (argument == QLatin1String("--dry-run")) {
            options.dryRun = true;
            continue;
        }
        // Options with a value: "--name value" or "--name=value".
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        if (name != QLatin1String("--profile") && name != QLatin1String("--output") &&
            name != QLatin1String("--jobs")) {
            options.error = QStringLiteral("Unknown option: %1").arg(argument);
            return options;
        }
        QString value;
        if (equals >= 0) {
            value = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            options.error = QStringLiteral("The option %1 needs a value.").arg(name);
            return options;
        }
        if (name == QLatin1String("--profile")) {
            options.profile = value;
        } else if (name == QLatin1String("--output")) {
            options.output = value;
        } else {
            bool number = false;
            const int jobs = value.toInt(&number);
            options.jobs = jobs;
            if (!number || jobs < 1 || jobs > kMaxJobs) {
                options.error =
                    QStringLiteral("The option --jobs needs a number from 1 to %1, not \"%2\".")
                        .arg(kMaxJobs)
                        .arg(value);
                return options;
            }
        }
    }
    if (!options.help && !options.version && !options.listProfiles && options.files.isEmpty())
        options.error = QStringLiteral("No file to convert was given.");
    return options;
}
