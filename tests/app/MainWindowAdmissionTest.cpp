// Adding a large folder: the window keeps answering and says how far it is, Encode waits, files
// handed over meanwhile come after it, Cancel stops it, and the window closes in the middle of one.
#include "CJobList.h"
#include "TestMedia.h"
#include "WindowHarness.h"

#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <iostream>

namespace {

QString clipName(int index)
{
    return QStringLiteral("clip-slow-%1.avi").arg(index, 4, 10, QLatin1Char('0'));
}

} // namespace

TEST_F(WindowTest, AThousandFileFolderIsAddedWhileTheWindowAnswersAndCanBeCancelled)
{
    const int kFiles = 1000;
    ASSERT_TRUE(QDir().mkpath(media("many")));
    for (int i = 0; i < kFiles; ++i)
        ASSERT_TRUE(TestMedia::writeFile(media("many/" + clipName(i)), "x"));
    ASSERT_TRUE(TestMedia::makeVideo(media("late.avi"), 1.0));
    // Only the tool's information mode reads these files; the stand-in answers each after 20 ms.
    open(TOVEL_FAKE_ENCODER);
    QWidget* bar = control(1060);
    auto* line = qobject_cast<QLabel*>(control(1061));
    auto* cancel = qobject_cast<QAbstractButton*>(control(1062));
    ASSERT_TRUE(bar && line && cancel);
    QSignalSpy ended(dlg.get(), &CConverterDlg::admissionFinished);

    // The UI thread's pulse: the longest time between two ticks of a 10 ms timer.
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer pulse;
    QObject::connect(&pulse, &QTimer::timeout,
                     [&] { longest = std::max(longest, sinceTick.restart()); });
    sinceTick.start();
    pulse.start(10);
    m_folderPick = media("many");
    trigger(32801); // File > Add Folder...

    ASSERT_TRUE(waitFor([&] { return bar->isVisible() && dlg->jobModel().rowCount() >= 200; }));
    const QRegularExpressionMatch says =
        QRegularExpression(QStringLiteral("^Adding files\u2026 (\\d+) of (\\d+)$"))
            .match(line->text());
    ASSERT_TRUE(says.hasMatch()) << line->text().toStdString();
    EXPECT_EQ(says.captured(1).toInt(), dlg->jobModel().rowCount())
        << "each row as its file is probed";
    EXPECT_EQ(says.captured(2).toInt(), kFiles);
    EXPECT_EQ(cell(0, 1), clipName(0));
    EXPECT_FALSE(control(1015)->isEnabled()) << "no Encode while files are being added";

    // Measured while files are probed; the messages of the end and the preview of the row then
    // selected are the window's own business.
    pulse.stop();
    std::cout << "longest UI-thread gap while adding " << dlg->jobModel().rowCount()
              << " files: " << longest << " ms\n";
    EXPECT_LT(longest, 500);

    dlg->AdmitFiles({media("late.avi")}); // a second start hands a file over
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Space);
    ASSERT_TRUE(waitFor([&] { return !dlg->isAdmitting(); }));

    const int rows = dlg->jobModel().rowCount();
    ASSERT_GE(rows, 201);
    EXPECT_LT(rows, kFiles) << "cancelled before the end";
    bool inOrder = true;
    for (int row = 0; row + 1 < rows; ++row)
        inOrder = inOrder && cell(row, 1) == clipName(row);
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(cell(rows - 1, 1), "late.avi") << "queued behind the folder";
    EXPECT_EQ(answers->texts(),
              QStringList{QStringLiteral("Added %1 files from the folder; skipped 0 that are not "
                                         "media.")
                              .arg(rows - 1)});
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(control(1015)->isEnabled());
    EXPECT_EQ(ended.size(), 1);
    EXPECT_EQ(dlg->jobs().SelectedRow(), rows - 1);

    // The window goes on working, and closes in the middle of the next admission.
    trigger(32773); // Remove All
    EXPECT_EQ(dlg->jobModel().rowCount(), 0);
    trigger(32801);
    ASSERT_TRUE(waitFor([&] { return dlg->jobModel().rowCount() > 0; }));
    dlg->close();
    EXPECT_FALSE(dlg->isAdmitting());
    dlg.reset();
}
