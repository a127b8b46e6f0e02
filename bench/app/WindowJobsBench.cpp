// Prints the wall time of the window (offscreen, driven through its Encode button) and of
// tovel-cli converting the same 8 short clips one at a time and two at a time, the best of a
// few rounds each, and the ratios. Both run from an application folder of their own.
// Usage: bench_window_jobs [rounds] [seconds per clip]
#include "AppFolder.h"
#include "BenchSupport.h"
#include "CBatchConverter.h"
#include "CConverterDlg.h"
#include "CJobList.h"
#include "JobsBenchSetup.h"
#include "MainMenus.h"
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

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    JobsBenchSetup setup;
    if (!setup.make(kAppDir, kClips, argc, argv, 2))
        return 1;
    const auto& [work, home, profile, clips, rounds, seconds] = setup;

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
    if (!waitFor([&] { return !dlg.isAdmitting() && dlg.jobModel().rowCount() == kClips; },
                 60000)) {
        std::fprintf(stderr, "the window did not admit the clips\n");
        return 1;
    }
    auto* encode = qobject_cast<QAbstractButton*>(dlg.control(1015));

    std::printf("%d clips of %.1f s 640x480 with \"%s\", best of %d rounds, %d cores here\n",
                kClips, seconds, qPrintable(profile), rounds, QThread::idealThreadCount());
    double window[2], cli[2];
    for (int jobs : {1, 2}) {
        Settings(dlg.writeLocations()).WriteSimultaneous(jobs);
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
            return runProgram(home + "tovel-cli",
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
