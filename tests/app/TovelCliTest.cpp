#include "BatchDoubles.h"
#include "EncoderToolContract.h"
#include "PrivateProfile.h"
#include "ProgramRun.h"
#include "RealToolCli.h"
#include "SegmentWorkFolder.h"
#include "ShellWords.h"
#include "TestMedia.h"
#include "WaitFor.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

const QString kAccomplished = "    Mission accomplished!        ";

TEST(TovelCliTest, HelpListsTheOptionsAndTheShippedProfiles)
{
    const QList<ShippedProfile> profiles = shippedProfiles();
    ASSERT_FALSE(profiles.isEmpty()) << "no shipped profiles in the application folder";
    const Result help = runProgram(shippedCli(), {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    // Two blanks at least after every option: the manual page tells option from text by them.
    for (const char* option : {"--profile NAME", "--output DIR", "--overwrite", "--shutdown",
                               "--list-profiles", "--keep-going"})
        EXPECT_TRUE(help.out.contains(QString(option) + "  ")) << option;
    for (const ShippedProfile& profile : profiles)
        EXPECT_TRUE(help.out.contains("  " + profile.name)) << profile.name.toStdString();
}

TEST(TovelCliTest, BadArgumentsExitWithTwo)
{
    const QStringList cases[] = {
        {},
        {"--bogus", "clip.avi"},
        {"--overwrite"},
        {"clip.avi", "--profile"},
        {"--profile", "There is no such profile", "clip.avi"},
        {"--jobs", "0", "clip.avi"},
        {"--name", "{parent}/{name}", "clip.avi"},
        {"--watch", "/tmp", "clip.avi"},
        {"--watch", "/tmp", "--dry-run"},
    };
    for (const QStringList& arguments : cases) {
        const Result result = runProgram(shippedCli(), arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(result.err.isEmpty());
        EXPECT_TRUE(result.out.isEmpty());
    }
}

TEST(TovelCliTest, ConvertsARealClipWithAShippedProfile)
{
    const QString tool = TestMedia::appDir() + "encode";
    ASSERT_TRUE(QFileInfo(tool).isExecutable()) << "the encoder tool is not built";
    QString mp4;
    for (const ShippedProfile& profile : shippedProfiles())
        if (profile.format.compare("mp4", Qt::CaseInsensitive) == 0 && mp4.isEmpty())
            mp4 = profile.name;
    ASSERT_FALSE(mp4.isEmpty()) << "no shipped MP4 profile";

    QTemporaryDir work;
    // A name that a shell or a format string would mangle.
    const QString input = work.path() + "/-Ünï clip \"50%\".mov";
    ASSERT_TRUE(TestMedia::makeVideo(input, 1.0, "160x120"));
    const QString out = work.path() + "/out dir/new";
    const Result result =
        runProgram(shippedCli(), {"--profile", mp4, "--output", out, "--", input});

    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString output = out + "/-Ünï clip \"50%\".mp4";
    ASSERT_TRUE(QFileInfo(output).size() > 0) << result.out.toStdString();
    EXPECT_TRUE(TestMedia::probe(output).join(' ').contains("video")) << output.toStdString();
    EXPECT_GT(TestMedia::probeDuration(output), 0.5);
    EXPECT_TRUE(result.out.contains("-Ünï clip \"50%\".mov: Completed"));
    EXPECT_TRUE(result.out.contains(kAccomplished + '\n'));
    EXPECT_TRUE(result.out.contains("Output folder: " + out + '\n'));
}

// tovel-cli copied into an application folder of its own, where the fake tool stands in as the
// encoder tool, with one profile and a config.ini that names it and an output folder.
class FakeToolCliTest : public ::testing::Test
{
protected:
    static inline QString s_clip;
    static inline QTemporaryDir* s_clips = nullptr;

    static void SetUpTestSuite()
    {
        s_clips = new QTemporaryDir;
        s_clip = s_clips->path() + "/clip.avi";
        if (!TestMedia::makeVideo(s_clip, 1.0, "160x120"))
            s_clip.clear();
    }
    static void TearDownTestSuite()
    {
        delete s_clips;
        s_clips = nullptr;
    }

    QTemporaryDir app;
    QTemporaryDir work;
    QByteArray config;

    void SetUp() override
    {
        ASSERT_FALSE(s_clip.isEmpty());
        ASSERT_TRUE(QFile::copy(shippedCli(), cli()));
        QFile(cli()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_TRUE(QFile::link(TOVEL_FAKE_ENCODER, app.path() + "/encode"));
        ASSERT_TRUE(QDir(app.path()).mkdir("profiles"));
        ASSERT_TRUE(TestMedia::writeFile(app.path() + "/profiles/a.pf",
                                         "[Main]\nName=Other\nFormat=avi\nExtName=avi\n"));
        ASSERT_TRUE(TestMedia::writeFile(app.path() + "/profiles/b.pf",
                                         "[Main]\nName=Fake MP4\nSName=\nFormat=mp4\n"
                                         "ExtName=mp4\n[Parameter]\nvcodec=,,mpeg4\n"));
        config = "[Config]\nOutput=" + out().toLocal8Bit() + "\nCProID=1\n";
        ASSERT_TRUE(TestMedia::writeFile(app.path() + "/config.ini", config));
    }

    QString cli() const { return app.path() + "/tovel-cli"; }
    QString out() const { return work.path() + "/out"; }
    QString input(const QString& name) const
    {
        const QString path = work.path() + '/' + name;
        QFile::copy(s_clip, path);
        return path;
    }
};

TEST_F(FakeToolCliTest, TakesProfileAndFolderFromConfigIniAndWritesNeither)
{
    // "CProID" 1 selects the second listed entry, whichever file the scan found second.
    const Result help = runProgram(cli(), {"--help"});
    const auto current = QRegularExpression("\n  (.+)  \\(current\\)\n").match(help.out);
    ASSERT_TRUE(current.hasMatch()) << help.out.toStdString();
    const QString extension = current.captured(1) == "Fake MP4" ? "mp4" : "avi";

    const Result result = runProgram(cli(), {input("a.avi")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(QFileInfo(out() + "/a." + extension).size() > 0) << result.out.toStdString();
    EXPECT_EQ(TestMedia::readFile(app.path() + "/config.ini"), config);
    EXPECT_EQ(QDir(app.path() + "/profiles").entryList(QDir::Files).size(), 2);
}

TEST_F(FakeToolCliTest, RelativeNamesAreTakenFromTheStartingFolder)
{
    input("a.avi");
    QProcess cli;
    cli.setWorkingDirectory(work.path());
    cli.start(this->cli(), {"--profile", "fake mp4", "--output", "rel/out", "a.avi"});
    ASSERT_TRUE(cli.waitForFinished(120000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().constData();
    EXPECT_TRUE(QFileInfo(work.path() + "/rel/out/a.mp4").size() > 0);
}

TEST_F(FakeToolCliTest, AFailedRowExitsWithOneAndPointsToTheTrace)
{
    const Result result =
        runProgram(cli(), {"--profile", "Fake MP4", input("a-fail.avi"), input("b.avi")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(
        "Warning: Convert fail,please send the trace file:" + app.path() + "/trace.log to "))
        << result.err.toStdString();
    // The row's line says why, from what the tool printed.
    const QRegularExpression failed("\na-fail\\.avi: Fail in [0-9:]+ - fake: cannot convert " +
                                    QRegularExpression::escape(work.path()) + "/a-fail\\.avi\n");
    EXPECT_TRUE(result.out.contains(failed)) << result.out.toStdString();
    EXPECT_FALSE(result.out.contains("b.avi: "));
    EXPECT_FALSE(result.out.contains(kAccomplished));
    EXPECT_TRUE(QFileInfo::exists(app.path() + "/trace.log"));
}

TEST_F(FakeToolCliTest, AnUndecodableFileIsRefusedAndTheOthersConvert)
{
    const QString garbage = work.path() + "/garbage.avi";
    ASSERT_TRUE(TestMedia::writeFile(garbage, QByteArray(4096, 'x')));
    const Result result = runProgram(cli(), {"--profile", "Fake MP4", garbage, input("good.avi")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("Error: The file \"garbage.avi\" can not be decoded.\n"))
        << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("good.avi: Completed"));
    EXPECT_TRUE(QFileInfo(out() + "/good.mp4").size() > 0);
}

TEST_F(FakeToolCliTest, CtrlCStopsTheBatchAsTheStopButtonDoes)
{
    QProcess cli;
    cli.start(this->cli(), {"--profile", "Fake MP4", input("first-hang.avi"), input("second.avi"),
                            input("third.avi")});
    ASSERT_TRUE(cli.waitForStarted());
    // Standard output is a pipe: progress comes as plain lines.
    QByteArray out;
    const QRegularExpression progress("first-hang\\.avi: [1-9][0-9]*%");
    waitFor([&] {
        out += cli.readAllStandardOutput();
        return progress.match(QString::fromLocal8Bit(out)).hasMatch() ||
               cli.state() != QProcess::Running;
    });
    ASSERT_TRUE(progress.match(QString::fromLocal8Bit(out)).hasMatch()) << out.constData();
    ::kill(pid_t(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(120000));
    out += cli.readAllStandardOutput();
    const QString text = QString::fromLocal8Bit(out);
    const QString err = QString::fromLocal8Bit(cli.readAllStandardError());

    EXPECT_EQ(cli.exitCode(), 130);
    EXPECT_TRUE(text.contains("first-hang.avi: Abort")) << text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(this->out() + "/first-hang.mp4")); // no shortened file
    EXPECT_TRUE(text.contains("second.avi: Abort"));
    EXPECT_FALSE(text.contains("third.avi: "));
    EXPECT_FALSE(text.contains(kAccomplished)) << "no summary of success after a Stop";
    EXPECT_TRUE(err.contains("Warning:   Stop the video convert operation?    Yes"));
}

TEST_F(FakeToolCliTest, KeepGoingConvertsTheRestListsTheFailureAndExitsWithOne)
{
    const Result result = runProgram(cli(), {"--keep-going", input("a-fail.avi"), input("b.avi")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.contains(QRegularExpression("a-fail\\.avi: Fail .* - fake: cannot")))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("b.avi: Completed"));
    EXPECT_TRUE(QFileInfo(out() + "/b.mp4").size() > 0);
    EXPECT_TRUE(result.err.contains("Warning: 1 file failed:\na-fail.avi: fake: cannot convert " +
                                    work.path() + "/a-fail.avi\n\nConvert fail,please send"))
        << result.err.toStdString();
    EXPECT_FALSE(result.out.contains(kAccomplished));
}

TEST_F(FakeToolCliTest, AnOutputFolderOfConfigIniIsUsedWholeOrRefused)
{
    QString folder = out();
    while (folder.toLocal8Bit().size() < 300)
        folder += '/' + QString(std::min<qsizetype>(100, 300 - folder.size() - 1), 'o');
    ASSERT_TRUE(TestMedia::writeFile(app.path() + "/config.ini",
                                     "[Config]\nOutput=" + folder.toLocal8Bit() + "\nCProID=1\n"));
    const Result whole = runProgram(cli(), {"--profile", "Fake MP4", input("a.avi")});
    EXPECT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    EXPECT_TRUE(QFileInfo(folder + "/a.mp4").size() > 0) << whole.out.toStdString();
    EXPECT_TRUE(whole.out.contains(kAccomplished));

    const QString tooLong = out() + '/' + QString(5000, 'o');
    ASSERT_TRUE(TestMedia::writeFile(app.path() + "/config.ini",
                                     "[Config]\nOutput=" + tooLong.toLocal8Bit() + "\n"));
    const Result refused = runProgram(cli(), {"--profile", "Fake MP4", input("b.avi")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(
        "Warning: The output folder is too long for this system: " + tooLong + '\n'));
    EXPECT_FALSE(refused.out.contains("b.avi: "));
}

TEST_F(FakeToolCliTest, KeepDatesGivesEachOutputItsInputsDate)
{
    const QDateTime date(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);
    for (const QString name : {"kept.avi", "fresh.avi"}) {
        QFile file(input(name));
        ASSERT_TRUE(file.open(QIODevice::Append));
        ASSERT_TRUE(file.setFileTime(date, QFileDevice::FileModificationTime));
    }
    const Result kept = runProgram(cli(), {"--keep-dates", work.path() + "/kept.avi"});
    const Result fresh = runProgram(cli(), {work.path() + "/fresh.avi"});
    ASSERT_EQ(kept.exitCode, 0) << kept.err.toStdString();
    ASSERT_EQ(fresh.exitCode, 0) << fresh.err.toStdString();

    auto modified = [&](const QString& name) {
        return QFileInfo(out() + '/' + name).fileTime(QFileDevice::FileModificationTime);
    };
    EXPECT_EQ(modified("kept.mp4"), date);
    EXPECT_GT(modified("fresh.mp4").toSecsSinceEpoch(), date.addYears(10).toSecsSinceEpoch());
}

TEST_F(FakeToolCliTest, CtrlCStopsEveryParallelJob)
{
    QProcess cli;
    cli.start(this->cli(),
              {"--jobs", "2", input("a-hang.avi"), input("b-hang.avi"), input("c.avi")});
    ASSERT_TRUE(cli.waitForStarted());
    // Both rows convert (and hang) before the interrupt.
    QString out;
    const QRegularExpression a("a-hang\\.avi: [1-9]"), b("b-hang\\.avi: [1-9]");
    while (!(out.contains(a) && out.contains(b)) && cli.waitForReadyRead(30000))
        out += QString::fromLocal8Bit(cli.readAllStandardOutput());
    ASSERT_TRUE(out.contains(a) && out.contains(b)) << out.toStdString();
    ::kill(pid_t(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(120000));
    const QString text = out + QString::fromLocal8Bit(cli.readAllStandardOutput());

    EXPECT_EQ(cli.exitCode(), 130);
    EXPECT_TRUE(text.contains("a-hang.avi: Abort")) << text.toStdString();
    EXPECT_TRUE(text.contains("b-hang.avi: Abort"));
    EXPECT_TRUE(text.contains("c.avi: Abort"));
    EXPECT_FALSE(QFileInfo::exists(this->out() + "/a-hang.mp4"));
    EXPECT_FALSE(QFileInfo::exists(this->out() + "/b-hang.mp4"));
}

TEST_F(FakeToolCliTest, WithoutJobsTheWindowsSimultaneousConversionsCount)
{
    if (QThread::idealThreadCount() < 2)
        GTEST_SKIP() << "one processor: the window offers one conversion at a time";
    ASSERT_TRUE(TestMedia::writeFile(app.path() + "/config.ini", config + "Simultaneous=2\n"));
    QProcess cli;
    cli.start(this->cli(), {input("a-hang.avi"), input("b-hang.avi")});
    ASSERT_TRUE(cli.waitForStarted());
    // One at a time, the second row would never start while the first hangs.
    QString out;
    const QRegularExpression a("a-hang\\.avi: [1-9]"), b("b-hang\\.avi: [1-9]");
    while (!(out.contains(a) && out.contains(b)) && cli.waitForReadyRead(30000))
        out += QString::fromLocal8Bit(cli.readAllStandardOutput());
    EXPECT_TRUE(out.contains(a) && out.contains(b)) << out.toStdString();
    ::kill(pid_t(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(120000));
    EXPECT_EQ(cli.exitCode(), 130);
}

TEST_F(RealToolCliTest, AFolderTreeAddsEveryMediaFileAndNamesWhatItSkips)
{
    const QString tree = work.path() + "/my videos";
    ASSERT_TRUE(QDir().mkpath(tree + "/sub/deeper"));
    ASSERT_TRUE(TestMedia::makeVideo(tree + "/a.mov", 1.0, "160x120"));
    ASSERT_TRUE(TestMedia::makeVideo(tree + "/sub/a.mov", 1.0, "160x120"));
    ASSERT_TRUE(TestMedia::makeAudio(tree + "/sub/tone.wav", 1.0));
    ASSERT_TRUE(TestMedia::makePicture(tree + "/sub/deeper/still.jpg"));
    ASSERT_TRUE(TestMedia::writeFile(tree + "/notes.txt", "shopping list\n"));
    // A real MP4 cut short before its index: damaged media, not "not media".
    ASSERT_TRUE(TestMedia::makeVideo(work.path() + "/whole.mp4", 1.0, "160x120"));
    ASSERT_TRUE(TestMedia::writeFile(tree + "/sub/deeper/broken.mp4",
                                     TestMedia::readFile(work.path() + "/whole.mp4").left(4096)));
    ASSERT_TRUE(QFile::link(tree, tree + "/sub/deeper/back to top")); // no endless walk

    const Result result = convert({"--dry-run", tree});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("Added 4 files from the folder; skipped 2: 1 that is not media "
                                    "and 1 that is damaged or unreadable.\nnotes.txt: not media ("))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("\nbroken.mp4: damaged or unreadable (Invalid data"))
        << result.out.toStdString();
    // Flat output names, the second a.mov numbered as a real batch would number it.
    const QStringList commands = commandLines(result);
    ASSERT_EQ(commands.size(), 4) << result.out.toStdString();
    const char* outputs[] = {"a.mp4", "a-0.mp4", "tone.mp4", "still.mp4"};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(commands[i].endsWith(" -y " + ShellWords::quote(out() + '/' + outputs[i])))
            << commands[i].toStdString();
    EXPECT_FALSE(QFileInfo::exists(out())); // a dry run converts nothing
}

TEST_F(RealToolCliTest, TheDryRunCommandIsTheOneTheConversionWritesToTheTrace)
{
    const QString input = work.path() + "/my clip 50%.mkv"; // read by the tool through a script
    ASSERT_TRUE(TestMedia::makeVideo(input, 1.0, "160x120"));
    const Result dry = convert({"--dry-run", input});
    ASSERT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    const QStringList commands = commandLines(dry);
    ASSERT_EQ(commands.size(), 1) << dry.out.toStdString();
    EXPECT_TRUE(commands[0].contains("-i " + ShellWords::quote(app.path() + "/edit.avs")));

    const Result result = convert({input});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QByteArray traced = TestMedia::readFile(app.path() + "/trace.log");
    // The pasted line runs the very words the trace records.
    EXPECT_EQ(shellWords(QString::fromLocal8Bit(traced.left(traced.indexOf("\r\n"))), work.path()),
              shellWords(commands[0], work.path()));
    EXPECT_GT(TestMedia::probeDuration(out() + "/my clip 50%.mp4"), 0.5);
}

TEST_F(RealToolCliTest, APastedDryRunLineRunsNothingAFileNameSays)
{
    const QString input = work.path() + "/$(touch x) `touch y` it's.avi";
    ASSERT_TRUE(TestMedia::makeVideo(input, 1.0, "160x120"));
    const Result dry = convert({"--dry-run", input});
    ASSERT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    const QStringList commands = commandLines(dry);
    ASSERT_EQ(commands.size(), 1) << dry.out.toStdString();
    const QStringList words = shellWords(commands[0], work.path());
    EXPECT_TRUE(words.contains(input)) << words.join('|').toStdString();
    EXPECT_FALSE(QFileInfo::exists(work.path() + "/x") || QFileInfo::exists(work.path() + "/y"));
}

TEST_F(RealToolCliTest, ANamePatternNamesEachRowsOutput)
{
    ASSERT_TRUE(QDir().mkpath(work.path() + "/trip"));
    ASSERT_TRUE(TestMedia::makeVideo(work.path() + "/trip/a.avi", 1.0, "160x120"));
    ASSERT_TRUE(TestMedia::makeVideo(work.path() + "/trip/b.avi", 1.0, "160x120"));
    const Result result = convert({"--dry-run", "--name", "{parent}-{name}-{n}",
                                   work.path() + "/trip/a.avi", work.path() + "/trip/b.avi"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList commands = commandLines(result);
    ASSERT_EQ(commands.size(), 2);
    EXPECT_TRUE(commands[0].endsWith(ShellWords::quote(out() + "/trip-a-1.mp4")))
        << commands[0].toStdString();
    EXPECT_TRUE(commands[1].endsWith(ShellWords::quote(out() + "/trip-b-2.mp4")))
        << commands[1].toStdString();
}

TEST_F(RealToolCliTest, AnInputWithoutAnExtensionConvertsToItsNamePlusTheProfilesOne)
{
    ASSERT_TRUE(TestMedia::makeVideo(work.path() + "/clip.avi", 1.0, "160x120"));
    ASSERT_TRUE(QFile::rename(work.path() + "/clip.avi", work.path() + "/clip"));
    const Result result = convert({work.path() + "/clip"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString() << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("clip: Completed"));
    EXPECT_TRUE(TestMedia::probe(out() + "/clip.mp4").join(' ').contains("video"));
}

// The output folder on a small file system of its own, which a conversion fills up; unmounted
// when the test ends, however it ended.
class FullDiskCliTest : public RealToolCliTest
{
protected:
    void SetUp() override
    {
        RealToolCliTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(out()));
        if (::mount("tmpfs", QFile::encodeName(out()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    "size=64k") != 0) {
            if (errno == EPERM || errno == EACCES)
                GTEST_SKIP() << "mounting a file system is not permitted here";
            FAIL() << "cannot mount a small file system: " << std::strerror(errno);
        }
        m_mounted = true;
    }
    void TearDown() override
    {
        // Detached when still busy, so that the folder can go.
        if (m_mounted) {
            EXPECT_EQ(::umount2(QFile::encodeName(out()).constData(), MNT_DETACH), 0)
                << std::strerror(errno);
        }
    }

private:
    bool m_mounted = false;
};

TEST_F(FullDiskCliTest, AFullDiskFailsTheRowSayingSoWithoutAPartialFileOrAHang)
{
    const QString clip = work.path() + "/big.avi";
    ASSERT_TRUE(TestMedia::makeVideo(clip, 20.0, "320x240"));
    const Result result = convert({clip});
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    // The reason the row shows is the system's word for a full disk.
    EXPECT_TRUE(result.out.contains(
        QRegularExpression("big\\.avi: Fail[^\n]* - [^\n]*No space left on device")))
        << result.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out() + "/big.mp4"));
}

TEST_F(RealToolCliTest, TwoJobsWithSameNamedInputsWriteBothFilesUnderTheirOwnNames)
{
    ASSERT_TRUE(QDir().mkpath(work.path() + "/x"));
    ASSERT_TRUE(QDir().mkpath(work.path() + "/y"));
    ASSERT_TRUE(TestMedia::makeVideo(work.path() + "/x/clip.mov", 1.0, "160x120"));
    ASSERT_TRUE(TestMedia::makeVideo(work.path() + "/y/clip.mov", 3.0, "160x120"));
    const Result result =
        convert({"--jobs", "2", work.path() + "/x/clip.mov", work.path() + "/y/clip.mov"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();

    // Whichever row took which name, each output is one whole input: one 1 s, one 3 s long.
    QStringList found;
    for (const QString name : {"clip.mp4", "clip-0.mp4"}) {
        const QString streams = TestMedia::probe(out() + '/' + name).join(' ');
        const double seconds = TestMedia::probeDuration(out() + '/' + name);
        if (!streams.contains("video") || !streams.contains("audio"))
            found << name + ": " + streams;
        else
            found << (seconds > 0.5 && seconds < 2   ? "short"
                      : seconds > 2.5 && seconds < 4 ? "long"
                                                     : name + ": " + QString::number(seconds));
    }
    found.sort();
    EXPECT_EQ(found, QStringList({"long", "short"}));
}

} // namespace

TEST_F(RealToolCliTest, ListsEveryProfileAndRefusesOneThisFfmpegCannotMake)
{
    const QString folder = app.path() + "/profiles/";
    const QByteArray main = "[Main]\nName=%1\nSName=Odd\nFormat=mp4\nExtName=mp4\n\n[Parameter]\n";
    ASSERT_TRUE(TestMedia::writeFile(folder + "90-missing.pf",
                                     QByteArray(main).replace("%1", "Missing Encoder") +
                                         "f=,,mp4\nvcodec=,,libnosuch\n"));
    ASSERT_TRUE(TestMedia::writeFile(folder + "91-unknown.pf",
                                     QByteArray(main).replace("%1", "Unknown Option") +
                                         "f=,,mp4\nwarp=,,9\n"));
    ASSERT_TRUE(
        TestMedia::writeFile(folder + "92-list.pf", QByteArray(main).replace("%1", "Bad List") +
                                                        "f=,,mp4\ns=,,320x240,320x240\n"));
    ASSERT_TRUE(
        TestMedia::writeFile(folder + "93-line.pf",
                             QByteArray(main).replace("%1", "Bad Line") + "f=,,mp4\njust words\n"));

    const Result list = runProgram(app.path() + "/tovel-cli", {"--list-profiles"});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QStringList lines = list.out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), shippedProfiles().size() + 4);
    // The shipped profiles come first, in their order, each with its target and no complaint.
    EXPECT_EQ(lines.first(), "MP4 - MPEG-4 Video\tMP4");
    EXPECT_TRUE(lines.contains("WebM - VP9 Video\tWebM VP9"));
    EXPECT_TRUE(lines.contains("Missing Encoder\tOdd\tunavailable: the installed FFmpeg has no "
                               "video encoder \"libnosuch\""))
        << list.out.toStdString();
    EXPECT_TRUE(lines.contains("Unknown Option\tOdd\tmalformed: line 9: unknown option \"warp\""));
    EXPECT_TRUE(lines.contains("Bad List\tOdd\tmalformed: line 9: the value list of \"s\" does not "
                               "parse: 320x240"))
        << list.out.toStdString();
    EXPECT_TRUE(lines.contains("Bad Line\tOdd\tmalformed: line 9: \"just words\" is not a "
                               "key=value line"));

    // Refused before any file is probed or converted.
    const QString clip = work.path() + "/clip.mp4";
    ASSERT_TRUE(TestMedia::makeVideo(clip, 1.0, "160x90"));
    const Result refused = runProgram(app.path() + "/tovel-cli",
                                      {"--profile", "Missing Encoder", "--output", out(), clip});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("The profile \"Missing Encoder\" cannot be used: unavailable: "
                                     "the installed FFmpeg has no video encoder \"libnosuch\""))
        << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out() + "/clip.mp4"));
}

TEST_F(RealToolCliTest, TheSameCommandAfterCtrlCResumesAndRestartOrNoSegmentsDoNot)
{
    const QProcessEnvironment env = shortSegments();
    const QString clip = work.path() + "/recording.mp4";
    ASSERT_TRUE(makeRecording(clip));
    const QString output = out() + "/recording.mp4";
    const QStringList command = {"--profile", "MP4 - H.264 Video (Quality)", "--output", out(),
                                 clip};
    const QString cliPath = app.path() + "/tovel-cli";
    const auto interrupted = [&] {
        QProcess cli;
        cli.setProcessEnvironment(env);
        cli.start(cliPath, command);
        EXPECT_TRUE(waitFor([&] { return SegmentWorkFolder::donePercent(output, clip) > 0; }));
        ::kill(pid_t(cli.processId()), SIGINT);
        EXPECT_TRUE(cli.waitForFinished(120000));
        EXPECT_EQ(cli.exitCode(), 130);
        EXPECT_FALSE(QFileInfo::exists(output));
    };
    const auto trace = [&] { return TestMedia::readFile(app.path() + "/trace.log"); };

    interrupted();
    Result again = runProgram(cliPath, command, env);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(trace().contains("kept from an earlier run"));
    EXPECT_EQ(TestMedia::probeDuration(output), 20.0);

    ASSERT_TRUE(QFile::remove(output));
    interrupted();
    again = runProgram(cliPath, QStringList{"--restart"} + command, env);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(trace().contains("segment 1 of "));
    EXPECT_FALSE(trace().contains("kept from an earlier run"));

    again = runProgram(cliPath, QStringList{"--no-segments", "--overwrite"} + command, env);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_FALSE(trace().contains("segment 1 of ")) << trace().constData();
}
