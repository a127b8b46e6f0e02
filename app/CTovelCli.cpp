#include "CTovelCli.h"

#include "AppFolder.h"
#include "BatchUser.h"
#include "CBatchConverter.h"
#include "CCliOptions.h"
#include "CConsoleWriter.h"
#include "CProfileManager.h"
#include "CQuentaMediaCntl.h"
#include "CTerminalRows.h"
#include "CTerminalUser.h"
#include "CTraceLog.h"
#include "Console.h"
#include "ConversionJob.h"
#include "EncoderSetup.h"
#include "EventLog.h"
#include "Preferences.h"
#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace {

// How often the waiting main thread looks whether the batch has ended.
const int kPollMs = 100;

QString usage(const CProfileManager& profiles)
{
    QStringList text{
        QStringLiteral(
            "Usage: tovel-cli [--profile NAME] [--output DIR] [--overwrite] [--shutdown] FILE..."),
        QStringLiteral("Converts each FILE with a profile into the output folder, as the "
                       "program's Encode does."),
        QString(),
        QStringLiteral("Options:"),
        QStringLiteral("  --profile NAME  convert with this profile (default: the profile chosen "
                       "in the program)"),
        QStringLiteral("  --output DIR    write into this folder, made when missing (default: "
                       "\"Output\" of config.ini)"),
        QStringLiteral("  --overwrite     replace existing output files (default: new names "
                       "name-0, name-1, ...)"),
        QStringLiteral("  --shutdown      power the computer off when the batch ends"),
        QStringLiteral("  --help          show this text"),
        QStringLiteral("  --              the arguments that follow are files, even when they "
                       "begin with '-'"),
        QString(),
        QStringLiteral("Profiles:")};
    const QList<QByteArray>& names = profiles.Names();
    for (int i = 0; i < names.size(); ++i)
        text += QStringLiteral("  ") + QString::fromLocal8Bit(names[i]) +
                (i == profiles.SelectedIndex() ? QStringLiteral("  (current)") : QString());
    if (names.isEmpty())
        text += QStringLiteral("  (none in %1profiles/)").arg(AppFolder::path());
    text += QString();
    text += QStringLiteral("Ctrl+C stops the batch as the Stop button does.");
    text += QStringLiteral("Exit status: 0 every file completed, 1 a file failed or could not "
                           "be decoded, 2 bad arguments, 130 stopped.");
    return text.join(QLatin1Char('\n'));
}

// The catalogue entry the user meant: the exact name, else the one name equal ignoring case.
QByteArray findProfile(const CProfileManager& profiles, const QString& wanted)
{
    const QByteArray exact = wanted.toLocal8Bit();
    if (profiles.Names().contains(exact))
        return exact;
    for (const QByteArray& name : profiles.Names())
        if (QString::fromLocal8Bit(name).compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    return QByteArray();
}

// Relative names are taken from where the command was started: the batch later moves the
// process into the output folder.
QString absolute(const QString& path)
{
    const QString native = QDir::fromNativeSeparators(path);
    if (native.isEmpty() || !QDir::isRelativePath(native))
        return native;
    return QDir::currentPath() + QLatin1Char('/') + native;
}

} // namespace

int CTovelCli::Run(const QStringList& arguments)
{
    CConsoleWriter writer(stdout, stderr, Console::standardOutputIsTerminal(),
                          Console::terminalWidth());
    const CCliOptions options = CCliOptions::Parse(arguments);

    Settings::ReadStartup();
    CProfileManager profiles;
    profiles.ScanProfiles(AppFolder::path() + QStringLiteral("profiles/"), g_strConfigFile);

    if (options.help) {
        writer.line(usage(profiles));
        return AllCompleted;
    }
    if (!options.error.isEmpty()) {
        writer.errorLine(options.error);
        writer.errorLine(QStringLiteral("Try 'tovel-cli --help'."));
        return BadArguments;
    }

    QByteArray profileName;
    if (options.profile) {
        profileName = findProfile(profiles, *options.profile);
        if (profileName.isEmpty()) {
            writer.errorLine(QStringLiteral("There is no profile named \"%1\". 'tovel-cli --help' "
                                            "lists the profiles.")
                                 .arg(*options.profile));
            return BadArguments;
        }
    } else {
        profileName = profiles.CurrentName();
        if (profileName.isEmpty()) {
            writer.errorLine(QStringLiteral("No profile is chosen in %1; name one with --profile.")
                                 .arg(g_strConfigFile));
            return BadArguments;
        }
    }

    g_bOverwrite.store(options.overwrite ? 1 : 0);
    g_bShutdown.store(options.shutdown ? 1 : 0);
    const QString output = options.output
                               ? absolute(*options.output)
                               : QDir::fromNativeSeparators(QString::fromLocal8Bit(g_szOutput));

    CTraceLog trace(AppFolder::path() + QStringLiteral("trace.log"));
    const std::unique_ptr<EventLog> events = EventLog::createSystem();
    EncoderSetup setup;
    setup.kind = 0;
    setup.appFolder = AppFolder::path();
    setup.trace = &trace;
    setup.events = events.get();

    CQuentaMediaCntl controller;
    CTerminalRows rows(writer);
    CTerminalUser user(writer, output);
    CBatchConverter batch(controller, setup, rows, user);
    if (controller.Init(&setup) != 1) {
        user.showMessage(QStringLiteral("Encounter a problem,please Restart !!!"),
                         QStringLiteral("Error"), BatchUser::Stop);
        return RowFailed;
    }

    bool refused = false;
    for (const QString& file : options.files) {
        auto job = std::make_unique<ConversionJob>();
        job->inputPath = absolute(file);
        const int known = controller.bGetMediaFileContent(job->inputPath, job.get());
        if (known == 0 && job->media.duration == 0.0) {
            const QString name = job->inputPath.mid(job->inputPath.lastIndexOf('/') + 1);
            user.showMessage(QStringLiteral("The file \"") + name +
                                 QStringLiteral("\" can not be decoded."),
                             QStringLiteral("Error"), BatchUser::Stop);
            refused = true;
            continue;
        }
        job->profile = std::make_unique<Profile>();
        profiles.LoadProfile(profileName, job->profile.get());
        const QString target = QString::fromLocal8Bit(CProfileManager::TargetText(*job->profile));
        rows.addRow(std::move(job), target);
    }

    // An interrupt during admission ends the command before anything is converted.
    if (Console::waitForInterrupt(0))
        return Stopped;
    if (rows.rowCount() == 0)
        return refused ? RowFailed : AllCompleted;

    bool interrupted = false;
    if (batch.StartConvert() == CBatchConverter::Started) {
        while (batch.IsRunning()) {
            if (Console::waitForInterrupt(kPollMs)) {
                interrupted = true;
                batch.StopConvert();
            }
        }
        batch.Wait();
    }

    if (interrupted || batch.StopRequested())
        return Stopped;
    if (batch.FailureSeen() || batch.EngineFailed() || refused)
        return RowFailed;
    return AllCompleted;
}
