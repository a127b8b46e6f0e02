// Prints the wall time of the window (offscreen, driven through its Encode button) and of
// tovel-cli converting the same 8 short clips one at a time and two at a time, the best of a
// few rounds each, and the ratios. Both run from an application folder of their own.
// Usage: bench_window_jobs [rounds] [seconds per clip]
#include "AppFolder.h"
#include "CBatchConverter.h"
#include "CConverterDlg.h"
#include "CJobList.h"
#include "MainMenus.h"
#include "PrivateProfile.h"
#include "Settings.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const QString kAppDir = QStringLiteral(TOVEL_APP_DIR);
constexpr int kClips = 8;

bool run(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The first shipped profile whose format is MP4.
QString mp4Profile(const QString& folder)
{
    for (const QString& name : QDir(folder).entryList({"*.pf"}, QDir::Files, QDir::Name)) {
        const QString path = folder + name;
        if (PrivateProfile::readString(path, "Main", "Format", "", 100).toLower() == "mp4")
            return QString::fromLocal8Bit(
                PrivateProfile::readString(path, "Main", "Name", "", 300));
    }
    return QString();
}

bool waitFor(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

// Best wall time in ms of `once` over `rounds`; negative when a run failed.
double best(int rounds, const std::function<bool(int round)>& once)
{
    double fastest = -1;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        if (!once(round))
            return -1;
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        fastest = fastest < 0 ? ms : std::min(fastest, ms);
    }
    return fastest;
}

// An application folder of the bench's own: tovel-cli, the encoder tool and the profiles.
QString makeHome(const QString& home)
{
    QDir().mkpath(home + "profiles");
    QFile::copy(kAppDir + "tovel-cli", home + "tovel-cli");
    QFile(home + "tovel-cli")
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::link(kAppDir + "encode", home + "encode");
    for (const QString& name : QDir(kAppDir + "profiles").entryList({"*.pf"}, QDir::Files))
        QFile::copy(kAppDir + "profiles/" + name, home + "profiles/" + name);
    return home;
}

// The clips in `folder`; empty when ffmpeg could not make one.
QStringList makeClips(const QString& folder, double seconds)
{
    QStringList clips;
    for (int i = 0; i < kClips; ++i) {
        const QString clip = folder + QStringLiteral("/clip%1.mov").arg(i);
        const QStringList args = {
            "-hide_banner",
            "-loglevel",
            "error",
            "-nostdin",
            "-y",
            "-f",
            "lavfi",
            "-i",
            QStringLiteral("testsrc=size=640x480:rate=25:duration=%1").arg(seconds),
            "-f",
            "lavfi",
            "-i",
            QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
            "-shortest",
            clip};
        if (!run("ffmpeg", args, 120000)) {
            std::fprintf(stderr, "ffmpeg could not make %s\n", qPrintable(clip));
            return QStringList();
        }
        clips << clip;
    }
    return clips;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 2;
    const double seconds = argc > 2 ? std::max(0.5, atof(argv[2])) : 4.0;

    const QString profile = mp4Profile(kAppDir + "profiles/");
    if (profile.isEmpty() || !QFile::exists(kAppDir + "encode")) {
        std::fprintf(stderr, "needs the encoder tool and an MP4 profile in %s\n",
                     qPrintable(kAppDir));
        return 1;
    }
    QTemporaryDir work;
    const QString home = makeHome(work.path() + "/app/");
    const QStringList clips = makeClips(work.path(), seconds);
    if (clips.isEmpty())
        return 1;

    // The window, as a user drives it: the rows are added once, checked again before each run.
    AppFolder::setOverride(home);
    CConverterDlg dlg(nullptr);
    dlg.setDesktopHooks({[](QWidget*, const QString&) { return QStringList(); },
                         [](QWidget*, const QString&) { return QString(); },
                         [](const QString&) {}});
    dlg.batch().setShutdown([] {});
    QTimer answer; // the summary after each batch
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click()
                                         : box->button(QMessageBox::Yes)->click();
    });
    answer.start(10);
    dlg.show();
    dlg.profileBox()->setCurrentIndex(dlg.profileBox()->findText(profile));
    dlg.AdmitFiles(clips);
    if (!waitFor([&] { return dlg.jobs().rowCount() == kClips; }, 60000)) {
        std::fprintf(stderr, "the window did not admit the clips\n");
        return 1;
    }
    auto* encode = qobject_cast<QAbstractButton*>(dlg.control(1015));

    std::printf("%d clips of %.1f s 640x480 with \"%s\", best of %d rounds, %d cores here\n",
                kClips, seconds, qPrintable(profile), rounds, QThread::idealThreadCount());
    double window[2], cli[2];
    for (int jobs : {1, 2}) {
        Settings::WriteSimultaneous(jobs);
        window[jobs - 1] = best(rounds, [&](int round) {
            dlg.outputBox()->setText(work.path() +
                                     QStringLiteral("/win-%1-%2").arg(jobs).arg(round));
            dlg.menus().action(32775)->trigger(); // Check All
            encode->click();
            return waitFor([&] { return !dlg.IsConverting(); }, 600000) &&
                   QDir(dlg.outputFolder()).entryList(QDir::Files).size() == kClips;
        });
        cli[jobs - 1] = best(rounds, [&](int round) {
            const QString out = work.path() + QStringLiteral("/cli-%1-%2").arg(jobs).arg(round);
            return run(home + "tovel-cli",
                       QStringList{"--profile", profile, "--output", out, "--jobs",
                                   QString::number(jobs), "--"} +
                           clips,
                       600000);
        });
        if (window[jobs - 1] < 0 || cli[jobs - 1] < 0) {
            std::fprintf(stderr, "a run with %d at once failed\n", jobs);
            return 1;
        }
        std::printf("  %d at once: window %8.0f ms   tovel-cli %8.0f ms\n", jobs, window[jobs - 1],
                    cli[jobs - 1]);
    }
    std::printf("  ratio 2 at once / 1 at a time: window %.2f   tovel-cli %.2f\n",
                window[1] / window[0], cli[1] / cli[0]);
    std::printf("  window / tovel-cli: 1 at a time %.2f   2 at once %.2f\n", window[0] / cli[0],
                window[1] / cli[1]);
    dlg.OnExit(); // a normal exit: the kept job list goes
    return 0;
}
