#include "CellListFixture.h"
#include "WaitFor.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <vector>

TEST_F(CellListFixture, WorkerThreadUpdatesArriveInOrder)
{
    struct Seen
    {
        bool progress;
        int percent;
        QString text;
    };
    std::vector<Seen> seen;
    QObject::connect(list->cellModel(), &QAbstractItemModel::dataChanged, list.get(),
                     [&](const QModelIndex& index) {
                         if (index.row() == 1 && index.column() == 4) {
                             const CellPaint p = paintOf(1, 4);
                             seen.push_back({p.progress, p.percent, p.text});
                         }
                     });

    int rowsSeen = -1;
    int checkSeen = -1;
    QThread* worker = QThread::create([&] {
        rowsSeen = list->GetItemCount();
        checkSeen = list->GetCheck(1, 0);
        list->SetProgress(1, 4);
        for (int percent = 0; percent <= 100; ++percent)
            list->UpdateProgress(1, 4, percent);
        list->RemoveProgress(1, 4);
        list->SetItemText(1, 4, QStringLiteral("Completed"));
        list->SetCheck(1, 0, 0);
    });
    worker->start();
    ASSERT_TRUE(waitFor([&] { return worker->isFinished() && list->GetCheck(1, 0) == 0; }));
    worker->wait();
    delete worker;

    EXPECT_EQ(rowsSeen, 3);
    EXPECT_EQ(checkSeen, 1);
    ASSERT_EQ(seen.size(), 1u + 101u + 1u + 1u);
    EXPECT_TRUE(seen[0].progress);
    EXPECT_EQ(seen[0].percent, 0);
    for (int percent = 0; percent <= 100; ++percent) {
        EXPECT_TRUE(seen[size_t(percent) + 1].progress);
        EXPECT_EQ(seen[size_t(percent) + 1].percent, percent);
    }
    EXPECT_FALSE(seen[102].progress);
    EXPECT_EQ(seen[102].text, "Ready");
    EXPECT_EQ(seen[103].text, "Completed");
    EXPECT_EQ(list->GetItemText(1, 4), "Completed");
    EXPECT_EQ(list->GetHeaderImage(0), 1);
}

TEST_F(CellListFixture, WorkerCallsOnARemovedRowAreIgnored)
{
    QThread* worker = QThread::create([&] {
        list->UpdateProgress(2, 4, 30);
        list->SetItemText(7, 4, QStringLiteral("nowhere"));
    });
    list->DeleteItem(2);
    worker->start();
    worker->wait();
    delete worker;
    QTest::qWait(0);
    EXPECT_EQ(list->GetItemCount(), 2);
    EXPECT_FALSE(paintOf(1, 4).progress);
}

namespace {

void dropOn(QWidget* target, QMimeData* mime)
{
    const QPoint at(20, 20);
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

} // namespace

TEST_F(CellListFixture, DropCallsTheHandlerOncePerDropWithLocalPathsInOrder)
{
    QTemporaryDir dir;
    const QStringList names = {dir.filePath(QStringLiteral("my clip \"1\".avi")),
                               dir.filePath(QStringLiteral("-100% été.mp4")),
                               dir.filePath(QStringLiteral("a folder"))};
    std::vector<QStringList> calls;
    list->SetDropHandler([&](const QStringList& paths) { calls.push_back(paths); });

    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& name : names)
        urls << QUrl::fromLocalFile(name);
    urls.insert(1, QUrl(QStringLiteral("https://example.org/remote.avi")));
    mime->setUrls(urls);
    dropOn(list->viewport(), mime);
    ASSERT_TRUE(waitFor([&] { return !calls.empty(); }));
    QTest::qWait(0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], names);

    // A drop without files reaches nobody.
    auto* text = new QMimeData;
    text->setText(QStringLiteral("just text"));
    dropOn(list->viewport(), text);
    QTest::qWait(0);
    EXPECT_EQ(calls.size(), 1u);
    delete mime;
    delete text;
}
