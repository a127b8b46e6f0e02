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
#include "CliWatch.h"
#include "Console.h"
#include "ConversionJob.h"
#include "EncoderSetup.h"
#include "EventLog.h"
#include "JobModel.h"
#include "MediaAdmission.h"
#include "Preferences.h"
#include "ProfileCatalogue.h"
#include "ProgramVersion.h"
#include "RowCommand.h"
#include "Settings.h"
#include "StateFolderClaim.h"
#include "WriteLocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <memory>
#include <optional>

namespace {

// How often the waiting main thread looks whether the batch has ended.
const int kPollMs = 100;

QString usage(const CProfileManager& profiles, const QString& appFolder)
{
    QStringList text{
        // One line: the manual page takes its synopsis from it.
        QStringLiteral("Usage: tovel-cli [OPTION]... FILE|FOLDER..."),
        QStringLiteral("Converts each FILE with a profile into the output folder, as the "
                       "program's Encode does."),
        QStringLiteral("A FOLDER adds every media file in it and in its sub-folders; the outputs "
                       "all go into the output folder."),
        QString(),
        QStringLiteral("Options:"),
    };
    // help2man (the manual page) needs two blanks between an option and its description.
    const std::pair<const char*, const char*> options[] = {
        {"--profile NAME",
         "convert with this profile (default: the profile chosen in the program)"},
        {"--output DIR",
         "write into this folder, made when missing (default: \"Output\" of config.ini)"},
        {"--overwrite", "replace existing output files (default: new names name-0, name-1, ...)"},
        {"--shutdown", "power the computer off when the batch ends"},
        {"--keep-dates", "give each output its input's modification time"},
        {"--jobs N",
         "convert up to N files at once (default: \"Simultaneous\" of config.ini, else 1)"},
        {"--keep-going",
         "go on with the next file when one fails, and list the failed ones at the end"},
        {"--dry-run", "print each file's encoder command line, convert nothing"},
        {"--no-segments",
         "never cut a long video into segments (default: \"Segments\" of config.ini)"},
        {"--restart", "convert from the start, throwing away what a stopped run kept"},
        {"--name PATTERN",
         "name outputs by PATTERN of {name}, {ext}, {profile}, {crf}, {parent}, {date} and "
         "{n} (default: \"OutputName\" of config.ini, else {name})"},
        {"--watch FOLDER",
         "convert every media file in FOLDER with no output yet, then each that arrives, "
         "until Ctrl+C; a record in the state folder keeps a file from converting twice"},
        {"--copy-if-larger",
         "as --keep-smaller, but put a copy of the source in place of the larger output, "
         "with the source's extension (default: \"CopySourceIfLarger\" of config.ini)"},
        {"--keep-tree",
         "convert a folder's files into the same sub-folders under the output folder "
         "(default: \"KeepFolderTree\" of config.ini)"},
        {"--skip-same-codec",
         "skip a file already in the profile's codec at no more than its bit rate "
         "(default: \"SkipSameCodec\" of config.ini)"},
        {"--keep-smaller",
         "remove an output larger than its source and call the file skipped (default: "
         "\"KeepSmaller\" of config.ini)"},
        {"--min-ssim X",
         "count a file whose output measures below SSIM X as failed, keeping the output"},
        {"--list-profiles",
         "print every profile with its target, and why it cannot be used where it cannot"},
        {"--help", "show this text"},
        {"--version", "show the program's name and version"},
        {"--", "the arguments that follow are files, even when they begin with '-'"},
    };
    for (const auto& [option, description] : options)
        text +=
            QStringLiteral("  %1  %2")
                .arg(QString::fromUtf8(option).leftJustified(15), QString::fromUtf8(description));
    text += QString();
    text += QStringLiteral("Profiles:");

    const QList<QByteArray>& names = profiles.Names();
    for (int i = 0; i < names.size(); ++i)
        text += QStringLiteral("  ") + QString::fromLocal8Bit(names[i]) +
                (i == profiles.SelectedIndex() ? QStringLiteral("  (current)") : QString());
    if (names.isEmpty())
        text += QStringLiteral("  (none in %1profiles/)").arg(appFolder);
    text += QString();
    text += QStringLiteral("Ctrl+C stops the batch as the Stop button does. Ctrl+Z pauses the "
                           "whole run, the encoder included, and fg resumes it.");
    text += QStringLiteral("Exit status: 0 every file completed, 1 a file failed or could not "
                           "be decoded, 2 bad arguments, 130 stopped. SIGTERM stops as Ctrl+C "
                           "does.");
    return text.join(QLatin1Char('\n'));
}

// One line per profile: its name, a tab, its target text, and what is wrong with it if anything.
void listProfiles(const CProfileManager& profiles, CConsoleWriter& writer)
{
    for (const QByteArray& name : profiles.Names()) {
        Profile profile;
        profiles.LoadProfile(name, &profile);
        QString line = QString::fromLocal8Bit(name) + QLatin1Char('\t') +
                       QString::fromLocal8Bit(CProfileManager::TargetText(profile));
        if (const ProfileProblem problem = profiles.Problem(name); !problem.isEmpty())
            line += QLatin1Char('\t') + problem.text();
        writer.line(line);
    }
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

// Relative names are taken from where the command was started, made absolute once so that
// every name the batch hands on means one place.
QString absolute(const QString& path)
{
    const QString native = QDir::fromNativeSeparators(path);
    if (native.isEmpty() || !QDir::isRelativePath(native))
        return native;
    return QDir::currentPath() + QLatin1Char('/') + native;
}

// Prints each row's tool command line as a batch started now would run it: the rows take
// their output names in turn, as one converting after the other would find them.
void printCommands(JobModel& rows, CConsoleWriter& writer, const QString& folder,
                   const EncoderSetup& setup, const OutputNamePattern& pattern)
{
    const bool overwrite = g_bOverwrite.load() == 1;
    QSet<QString> written;
    for (int row = 0; row < rows.rowCount(); ++row) {
        const ConversionJob& job = *rows.job(row);
        if (RowCommand::UsesProducer(job)) {
            writer.line(job.inputPath.mid(job.inputPath.lastIndexOf('/') + 1) +
                        QStringLiteral(": converted by the RealMedia producer, no command line"));
            continue;
        }
        const QString output = RowCommand::OutputPath(
            job, folder, overwrite, [&](const QString& path) { return written.contains(path); },
            pattern, row);
        if (!overwrite)
            written.insert(output);
        writer.line(RowCommand::ShellLine(job, output, setup.appFolder, setup.writeFolder));
    }
}

// The answers that need no batch: the version, the help text, the profile list and a bad
// argument. Empty when the command goes on.
std::optional<int> answerAtOnce(const CCliOptions& options, const CProfileManager& profiles,
                                const WriteLocations& where, CConsoleWriter& writer)
{
    if (options.help) {
        writer.line(usage(profiles, where.appFolder()));
        return CTovelCli::AllCompleted;
    }
    if (options.listProfiles && options.error.isEmpty()) {
        listProfiles(profiles, writer);
        return CTovelCli::AllCompleted;
    }
    if (!options.error.isEmpty()) {
        writer.errorLine(options.error);
        writer.errorLine(QStringLiteral("Try 'tovel-cli --help'."));
        return CTovelCli::BadArguments;
    }
    return std::nullopt;
}

// The profile the rows convert with: the named one, else the one chosen in the program. Empty
// when there is none; `refusal` is then the exit code and the reason is on the console.
QByteArray chooseProfile(const CCliOptions& options, const CProfileManager& profiles,
                         const Settings& settings, CConsoleWriter& writer, int& refusal)
{
    refusal = CTovelCli::BadArguments;
    QByteArray profileName;
    if (options.profile) {
        profileName = findProfile(profiles, *options.profile);
        if (profileName.isEmpty()) {
            writer.errorLine(QStringLiteral("There is no profile named \"%1\". 'tovel-cli --help' "
                                            "lists the profiles.")
                                 .arg(*options.profile));
            return QByteArray();
        }
    } else {
        profileName = profiles.CurrentName();
        if (profileName.isEmpty()) {
            writer.errorLine(QStringLiteral("No profile is chosen in %1; name one with --profile.")
                                 .arg(settings.configFile()));
            return QByteArray();
        }
    }

    // Nothing is probed or converted with a profile that cannot be made here.
    if (const ProfileProblem problem = profiles.Problem(profileName);
        problem.kind == ProfileProblem::Unavailable) {
        writer.errorLine(QStringLiteral("The profile \"%1\" cannot be used: %2")
                             .arg(QString::fromLocal8Bit(profileName), problem.text()));
        refusal = CTovelCli::RowFailed;
        return QByteArray();
    }
    return profileName;
}

// What admitting the command's files came to.
struct Admission
{
    bool refused = false;     // a named file could not be decoded
    bool interrupted = false; // an interrupt came during admission
};

// Probes every named file and walks every named folder into `rows`, each row with the profile.
Admission admitArguments(const QStringList& files, CQuentaMediaCntl& controller,
                         const CProfileManager& profiles, const QByteArray& profileName,
                         CTerminalRows& rows, CTerminalUser& user, CConsoleWriter& writer)
{
    auto admit = [&](std::unique_ptr<ConversionJob> job) {
        job->profile = std::make_unique<Profile>();
        profiles.LoadProfile(profileName, job->profile.get());
        const QString target = QString::fromLocal8Bit(CProfileManager::TargetText(*job->profile));
        rows.addRow(std::move(job), target);
    };
    Admission result;
    auto cancelled = [&] {
        return result.interrupted = result.interrupted || Console::waitForInterrupt(0);
    };
    bool folders = false;
    MediaAdmission::FolderTally tally;
    for (const QString& file : files) {
        if (cancelled())
            break;
        const QString path = absolute(file);
        if (QFileInfo(path).isDir()) {
            folders = true;
            const MediaAdmission::FolderTally one =
                MediaAdmission::AdmitFolder(controller, path, admit, cancelled);
            tally.added += one.added;
            tally.skipped += one.skipped;
            tally.skippedFiles += one.skippedFiles;
            continue;
        }
        std::unique_ptr<ConversionJob> job = MediaAdmission::ProbeFile(controller, path);
        if (!job) {
            const QString name = path.mid(path.lastIndexOf('/') + 1);
            user.showMessage(QStringLiteral("The file \"") + name +
                                 QStringLiteral("\" can not be decoded."),
                             QStringLiteral("Error"), BatchUser::Stop);
            result.refused = true;
            continue;
        }
        admit(std::move(job));
    }
    if (folders)
        writer.line(MediaAdmission::SummaryText(tally));
    cancelled(); // an interrupt at the end of admission counts as one during it
    return result;
}

// The engine's set-up for the encoder tool, writing where `where` says.
EncoderSetup toolSetup(const WriteLocations& where, CTraceLog& trace, EventLog* events)
{
    EncoderSetup setup;
    setup.kind = EncoderKind::FfmpegTool;
    setup.appFolder = where.appFolder();
    setup.writeFolder = where.writeFolder();
    setup.trace = &trace;
    setup.events = events;
    return setup;
}

// Converts the rows to the end, passing an interrupt on as Stop; true when one came.
bool convertRows(CBatchConverter& batch)
{
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
    return interrupted;
}

} // namespace

int CTovelCli::Run(const QStringList& arguments)
{
    CConsoleWriter writer(stdout, stderr, Console::standardOutputIsTerminal(),
                          Console::terminalWidth());
    const CCliOptions options = CCliOptions::Parse(arguments);
    if (options.version && options.error.isEmpty()) {
        writer.line(ProgramVersion::line(QStringLiteral("tovel-cli")));
        return AllCompleted;
    }

    const WriteLocations decided = WriteLocations::decide(AppFolder::path());
    // A window, or another tovel-cli, may hold the state folder's trace and script: this run
    // then writes its own in a folder of its own there, and never its job list.
    const StateFolderClaim claim(
        decided.stateFolder(),
        {QStringLiteral("cli"), QStringLiteral("cli-%1").arg(QCoreApplication::applicationPid())});
    const WriteLocations where = decided.withWriteFolder(claim.folder());
    if (!where.problem().isEmpty())
        writer.errorLine(QStringLiteral("Warning: ") + where.problem());
    const Settings settings(where);
    settings.ReadStartup();
    CProfileManager profiles;
    ProfileCatalogue::Scan(profiles, where, settings);
    if (const std::optional<int> answered = answerAtOnce(options, profiles, where, writer))
        return *answered;
    int refusal = BadArguments;
    const QByteArray profileName = chooseProfile(options, profiles, settings, writer, refusal);
    if (profileName.isEmpty())
        return refusal;

    g_bOverwrite.store(options.overwrite ? 1 : 0);
    g_bShutdown.store(options.shutdown ? 1 : 0);
    const QString output =
        options.output ? absolute(*options.output) : QDir::fromNativeSeparators(g_strOutput);

    CTraceLog trace(where.traceFile());
    const std::unique_ptr<EventLog> events = EventLog::createSystem();
    EncoderSetup setup = toolSetup(where, trace, events.get());

    CQuentaMediaCntl controller;
    JobModel model(JobModel::Direct);
    CTerminalRows rows(model, writer);
    CTerminalUser user(writer, output);
    CBatchConverter batch(controller, setup, model, user);
    if (controller.Init(&setup) != 1) {
        user.showMessage(QStringLiteral("Encounter a problem,please Restart !!!"),
                         QStringLiteral("Error"), BatchUser::Stop);
        return RowFailed;
    }
    batch.setKeepSourceDates(options.keepDates);
    batch.setKeepGoing(options.keepGoing);
    batch.setSegments(!options.noSegments && settings.ReadSegments());
    batch.setSkipSameCodec(options.skipSameCodec || settings.ReadFlag("SkipSameCodec"));
    batch.setKeepSmaller(options.keepSmaller || options.copySource ||
                         settings.ReadFlag("KeepSmaller"));
    batch.setCopySourceIfLarger(options.copySource || settings.ReadFlag("CopySourceIfLarger"));
    batch.setQualityFloor(options.minSsim.value_or(settings.ReadQualityFloor()));
    batch.setQualityFloorFails(options.minSsim.has_value());
    batch.setNamePattern(
        OutputNamePattern(options.namePattern.value_or(settings.ReadNamePattern()),
                          options.keepTree || settings.ReadFlag("KeepFolderTree")));
    if (!options.dryRun && !batch.setJobs(options.jobs.value_or(settings.ReadSimultaneous()))) {
        user.showMessage(QStringLiteral("Encounter a problem,please Restart !!!"),
                         QStringLiteral("Error"), BatchUser::Stop);
        return RowFailed;
    }
    if (options.watch) {
        batch.setKeepGoing(true); // one bad arrival must not end the watch
        const CliWatch::Parts parts{controller,
                                    profiles,
                                    profileName,
                                    model,
                                    rows,
                                    batch,
                                    writer,
                                    trace,
                                    output,
                                    where.stateFolder(),
                                    [&batch] { return convertRows(batch); }};
        return CliWatch::run(absolute(*options.watch), parts);
    }

    const Admission admitted =
        admitArguments(options.files, controller, profiles, profileName, rows, user, writer);
    // An interrupt during admission ends the command before anything is converted.
    if (admitted.interrupted)
        return Stopped;
    if (model.rowCount() == 0)
        return admitted.refused ? RowFailed : AllCompleted;
    if (options.dryRun) {
        printCommands(model, writer, RowCommand::BatchFolder(output), setup, batch.namePattern());
        return admitted.refused ? RowFailed : AllCompleted;
    }

    if (options.restart)
        for (int row = 0; row < model.rowCount(); ++row)
            RowCommand::DropKeptWork(*model.job(row), RowCommand::BatchFolder(output),
                                     options.overwrite, batch.namePattern(), row);
    const bool interrupted = convertRows(batch);
    if (interrupted || batch.StopRequested())
        return Stopped;
    if (batch.FailureSeen() || batch.EngineFailed() || admitted.refused)
        return RowFailed;
    return AllCompleted;
}
