// The main window on a current desktop: it resizes from its template, keeps the job list from
// one stray key, can be driven and read without a mouse, names refused files together, leads
// Codec Download to the help and lets the stopped preview follow the selection.
#include "CCellListCtrl.h"
#include "CCellListModel.h"
#include "CImageButton.h"
#include "CJobList.h"
#include "CParamTree.h"
#include "CParamTreeItem.h"
#include "CParamTreeList.h"
#include "CPreviewPanel.h"
#include "CProfileEditor.h"
#include "CXHeaderCtrl.h"
#include "CompareView.h"
#include "HelpCommand.h"
#include "TestMedia.h"
#include "WindowHarness.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QTest>
#include <QToolTip>
#include <QUrl>

namespace {

QRect geometryOf(QWidget* control)
{
    return control->geometry();
}

// The tooltip `target` shows for a hover at `at`; empty when none shows.
QString tooltipAt(QWidget* target, const QPoint& at)
{
    QToolTip::hideText();
    // A tip still showing from before would pass for this one.
    EXPECT_TRUE(waitFor([] { return !QToolTip::isVisible(); }, 5000, "the last tooltip gone"));
    QHelpEvent help(QEvent::ToolTip, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

bool inside(const QWidget* widget, const QWidget* container)
{
    return widget && (widget == container || container->isAncestorOf(widget));
}

} // namespace

TEST_F(WindowTest, GrowsFromItsTemplateAndComesBackPixelForPixel)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("clip.avi"), 1.0));
    open();
    add({media("clip.avi")});
    dlg->jobList()->clearSelection();
    const QSize normal = dlg->size();
    EXPECT_EQ(dlg->minimumSize(), normal);
    EXPECT_EQ(dlg->jobList()->geometry(), dlg->templateRect(2, 37, 288, 176));
    EXPECT_EQ(dlg->editorFrame()->geometry(), dlg->templateRect(293, 3, 111, 149));
    EXPECT_EQ(control(1052)->geometry(), dlg->templateRect(293, 154, 111, 77));
    EXPECT_EQ(dlg->editor().widget()->geometry(), dlg->editorFrame()->geometry());
    const int ids[] = {1006, 1001, 1004, 1005, 1014, 1019, 1020, 1046, 1050, 1052, 1053};
    QHash<int, QRect> before;
    for (int id : ids)
        before[id] = geometryOf(control(id));
    QHeaderView* header = dlg->jobList()->horizontalHeader();
    QList<int> widths;
    for (int column = 0; column < 5; ++column)
        widths << header->sectionSize(column);
    ASSERT_TRUE(waitFor([this] { return dlg->preview().shownPath().isEmpty(); }));
    const QImage picture = dlg->grab().toImage();

    const int dx = 300;
    const int dy = 200;
    const int right = dx / 3, left = dx - right; // the editor's and preview's share, the list's
    const auto total = [header] {
        int sum = 0;
        for (int column = 0; column < 5; ++column)
            sum += header->sectionSize(column);
        return sum;
    };
    const int laidOut = total();
    dlg->resize(normal + QSize(dx, dy));
    ASSERT_TRUE(waitFor([&] { return dlg->jobList()->width() == before[1001].width() + left; }));
    EXPECT_EQ(control(1006)->geometry(), before[1006]);
    EXPECT_EQ(control(1001)->geometry(), before[1001].adjusted(0, 0, left, dy));
    EXPECT_EQ(control(1004)->geometry(), before[1004].translated(0, dy).adjusted(0, 0, left, 0));
    EXPECT_EQ(control(1005)->geometry(), before[1005].translated(0, dy).adjusted(0, 0, left, 0));
    for (int id : {1014, 1019, 1046})
        EXPECT_EQ(control(id)->geometry(), before[id].translated(left, dy)) << id;
    EXPECT_EQ(control(1053)->geometry(), before[1053].translated(dx, dy));
    EXPECT_EQ(control(1050)->geometry(),
              before[1050].translated(left, dy).adjusted(0, 0, right, 0));
    // The picture keeps its shape; the editor takes the rest of the height.
    const int taller = right * before[1052].height() / before[1052].width();
    EXPECT_EQ(control(1052)->geometry(),
              before[1052].translated(left, dy - taller).adjusted(0, 0, right, taller));
    EXPECT_EQ(control(1020)->geometry(),
              before[1020].translated(left, 0).adjusted(0, 0, right, dy - taller));
    EXPECT_EQ(dlg->editor().widget()->geometry(), dlg->editorFrame()->geometry());
    // Duration and Target grow to their whole texts, Name takes the rest.
    EXPECT_EQ(total(), laidOut + left);
    for (int column : {0, 4})
        EXPECT_EQ(header->sectionSize(column), widths[column]) << column;
    for (int column : {2, 3})
        EXPECT_GE(header->sectionSize(column), widths[column]) << column;

    // Not below the template; maximised, the list and its columns take the screen.
    dlg->resize(normal - QSize(100, 100));
    EXPECT_EQ(dlg->size(), normal);
    dlg->showMaximized();
    ASSERT_TRUE(waitFor([&] { return dlg->jobList()->width() > before[1001].width(); }));
    EXPECT_EQ(total() - laidOut, dlg->jobList()->width() - before[1001].width());
    dlg->showNormal();
    dlg->resize(normal);
    ASSERT_TRUE(waitFor([&] { return dlg->jobList()->geometry() == before[1001]; }));
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(header->sectionSize(column), widths[column]) << column;
    EXPECT_EQ(dlg->grab().toImage(), picture);

    // Columns made in a large window are the template's, with the room shared out.
    trigger(32773);
    dlg->resize(normal + QSize(dx, 0));
    add({media("clip.avi")});
    EXPECT_EQ(dlg->jobList()->ColumnWidths(), widths);
    EXPECT_EQ(total(), laidOut + left);
}

TEST_F(WindowTest, ALongTargetIsCutAtItsEndAndShownWholeInTooltips)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("clip.avi"), 1.0));
    open();
    const int h264 = dlg->profileBox()->findText("MP4 - H.264 Video");
    ASSERT_GE(h264, 0);
    dlg->profileBox()->setCurrentIndex(h264);
    add({media("clip.avi")});
    ASSERT_EQ(cell(0, 3), "MP4 H.264");
    CCellListCtrl* list = dlg->jobList();
    const QRect target = list->visualRect(list->cellModel()->index(0, 3));
    ASSERT_LT(list->fontMetrics().horizontalAdvance("MP4 H.264"), target.width() * 2)
        << "the font makes the text fit; the test needs it cut";
    ASSERT_GT(list->fontMetrics().horizontalAdvance("MP4 H.264"), target.width());

    // Cut at its end: the text starts inside the cell instead of being cut on both sides.
    list->clearSelection();
    const QImage image = list->viewport()->grab().toImage();
    int left = -1;
    for (int x = target.left(); x <= target.right() && left < 0; ++x) {
        for (int y = target.top() + 1; y < target.bottom(); ++y) {
            if (qGray(image.pixel(x, y)) < 128) {
                left = x;
                break;
            }
        }
    }
    EXPECT_GE(left, target.left() + 4);
    EXPECT_EQ(tooltipAt(list->viewport(), target.center()), "MP4 H.264");
    EXPECT_EQ(
        tooltipAt(list->viewport(), list->visualRect(list->cellModel()->index(0, 4)).center()), "")
        << "Ready fits";
    // A duration that shows whole, if only over the cell's padding, stays whole.
    EXPECT_EQ(
        tooltipAt(list->viewport(), list->visualRect(list->cellModel()->index(0, 2)).center()), "");

    CXHeaderCtrl* header = list->header();
    const int durationX = header->sectionViewportPosition(2) + header->sectionSize(2) / 2;
    EXPECT_EQ(tooltipAt(header->viewport(), QPoint(durationX, header->height() / 2)), "Duration");
    const int nameX = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
    EXPECT_EQ(tooltipAt(header->viewport(), QPoint(nameX, header->height() / 2)), "");
}

TEST_F(WindowTest, EscKeepsTheWindowAndItsRowsWhileExitKeysClose)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("clip.avi"), 1.0));
    open();
    add({media("clip.avi")});
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QTest::keyClick(dlg->jobList(), Qt::Key_Escape);
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->jobModel().rowCount(), 1);
    EXPECT_TRUE(answers->seen.isEmpty());

    // Esc still closes what it belongs to: an open drop-down.
    dlg->profileBox()->showPopup();
    QWidget* popup = dlg->profileBox()->view()->window();
    ASSERT_TRUE(waitFor([popup] { return popup->isVisible(); }));
    QTest::keyClick(dlg->profileBox()->view(), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([popup] { return !popup->isVisible(); }));
    EXPECT_TRUE(dlg->isVisible());

    QTest::keyClick(dlg->jobList(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(WindowTest, KeyboardUsersToggleRowsSeeTheSelectionAndLeaveTheEditor)
{
    for (const char* name : {"a.avi", "b.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open();
    add({media("a.avi"), media("b.avi")});
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    CCellListCtrl* list = dlg->jobList();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_FALSE(checked(1));
    EXPECT_FALSE(dlg->jobModel().isChecked(1)) << "the worker's copy follows";
    EXPECT_EQ(list->GetHeaderImage(0), 1);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_TRUE(checked(1));
    EXPECT_EQ(list->GetHeaderImage(0), 2);

    // The row being edited stays marked while the focus is elsewhere.
    dlg->profileBox()->setFocus();
    const QRect name = list->visualRect(list->cellModel()->index(1, 1));
    const QColor shown =
        list->viewport()->grab().toImage().pixelColor(name.right() - 2, name.top() + 2);
    EXPECT_EQ(shown, list->palette().color(QPalette::Inactive, QPalette::Highlight));
    EXPECT_NE(shown, list->palette().color(QPalette::Base));

    // Tab and Shift+Tab leave the editor at its last and first rows.
    auto* tree = static_cast<CParamTree*>(dlg->editor().widget());
    QWidget* pane = tree->ListPane();
    pane->setFocus(Qt::TabFocusReason);
    QTest::keyClick(pane, Qt::Key_End);
    QTest::keyClick(pane, Qt::Key_Return); // the last row's editor takes the keys
    ASSERT_TRUE(inside(QApplication::focusWidget(), tree));
    ASSERT_NE(QApplication::focusWidget(), pane);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(inside(QApplication::focusWidget(), tree));
    pane->setFocus(Qt::TabFocusReason);
    QTest::keyClick(pane, Qt::Key_Home);
    QTest::keyClick(pane, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_FALSE(inside(QApplication::focusWidget(), tree));

    // F5 is Encode and Shift+F5 Stop; their tooltips say so.
    auto* encode = qobject_cast<CImageButton*>(control(1015));
    auto* stop = qobject_cast<CImageButton*>(control(1018));
    EXPECT_EQ(encode->toolTip(), "Start convert (F5)");
    EXPECT_EQ(stop->toolTip(), "Stop convert (Shift+F5)");
    EXPECT_EQ(encode->TooltipText(), "Start convert");
    int stops = 0;
    QObject::connect(stop, &QAbstractButton::clicked, [&stops] { ++stops; });
    trigger(32776); // nothing checked: Encode answers with its warning
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F5);
    EXPECT_TRUE(waitFor([this] { return !answers->seen.isEmpty(); }));
    EXPECT_EQ(answers->texts(), QStringList{"There is no selected file in list! "});
    dlg->activateWindow(); // back from the message box
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QTest::keyClick(list, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_TRUE(waitFor([&stops] { return stops == 1; }));
}

TEST_F(WindowTest, ScreenReadersReadEditorValuesAndTheProgress)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("clip.avi"), 1.0));
    open();
    add({media("clip.avi")});
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    auto* tree = static_cast<CParamTree*>(dlg->editor().widget());
    auto* rows = static_cast<CParamTreeList*>(tree->ListPane());
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(rows);
    int index = -1;
    for (int i = 0; i < rows->Rows().size() && index < 0; ++i) {
        if (rows->Rows()[i]->GetType() == CParamTreeItem::kCombo && !rows->Rows()[i]->IsReadOnly())
            index = i;
    }
    ASSERT_GE(index, 0);
    CParamTreeItem* item = rows->Rows()[index];
    QAccessibleInterface* row = pane->child(index);
    EXPECT_EQ(row->text(QAccessible::Name), item->Label());
    const QString value = row->text(QAccessible::Value);
    EXPECT_FALSE(value.isEmpty());
    ASSERT_NE(row->textInterface(), nullptr);
    EXPECT_EQ(row->textInterface()->text(0, row->textInterface()->characterCount()), value);

    // A value chosen in the editor is the row's value at once.
    auto* combo = qobject_cast<QComboBox*>(item->EditorWidget());
    ASSERT_NE(combo, nullptr);
    ASSERT_GT(combo->count(), 1);
    tree->SetFocusedItem(item);
    ASSERT_TRUE(tree->ActivateItem(item, false));
    combo->setCurrentIndex(combo->currentIndex() == 0 ? 1 : 0);
    const QString chosen = combo->currentText();
    rows->setFocus();
    EXPECT_EQ(row->text(QAccessible::Value), chosen);
    EXPECT_EQ(row->textInterface()->text(0, row->textInterface()->characterCount()), chosen);

    // The Status cell of a converting row reads as its percentage.
    dlg->jobList()->SetProgress(0, 4);
    dlg->jobList()->UpdateProgress(0, 4, 42);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(dlg->jobList());
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->tableInterface()->cellAt(0, 4)->text(QAccessible::Name), "42%");
    EXPECT_EQ(table->tableInterface()->cellAt(0, 1)->text(QAccessible::Name), "clip.avi");
}

TEST_F(WindowTest, SeveralRefusedFilesAreNamedInOneMessage)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("good.avi"), 1.0));
    QStringList junk;
    for (const char* name : {"one.avi", "two 100%.mp4", "-three.mov"}) {
        ASSERT_TRUE(TestMedia::writeFile(media(name), "junk"));
        junk << media(name);
    }
    open();
    drop(junk + QStringList{media("good.avi")});
    ASSERT_TRUE(waitFor([this] { return !answers->seen.isEmpty(); }));
    ASSERT_EQ(answers->seen.size(), 1);
    EXPECT_EQ(answers->seen[0].caption, "Error");
    EXPECT_EQ(answers->seen[0].text, "These 3 files can not be decoded:\n\n\"one.avi\"\n"
                                     "\"two 100%.mp4\"\n\"-three.mov\"");
    EXPECT_EQ(dlg->jobModel().rowCount(), 1);
    EXPECT_EQ(dlg->jobs().SelectedRow(), 0);

    // One file keeps the one-file text; Add names several in one Information dialog.
    dlg->AdmitFiles({junk[0]});
    waitForAdmission();
    ASSERT_EQ(answers->seen.size(), 2);
    EXPECT_EQ(answers->seen[1].text, "The file \"one.avi\" can not be decoded.");
    add(junk);
    ASSERT_EQ(answers->seen.size(), 3);
    EXPECT_EQ(answers->seen[2].kind, "CCodecInfoDlg");
}

TEST_F(WindowTest, CodecDownloadOpensTheHelpOnCodecPackages)
{
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", m_media.path().toUtf8()); // no codec downloader anywhere
    open();
    QStringList asked;
    CConverterDlg::DesktopHooks hooks{[](QWidget*, const QString&) { return QStringList(); },
                                      [](QWidget*, const QString&) { return QString(); },
                                      [](const QString&) {}};
    hooks.browser.openWithDesktop = [&asked](const QString& address, int) {
        asked << address;
        return kLaunchSucceeded;
    };
    dlg->setDesktopHooks(hooks);
    trigger(32800);
    qputenv("PATH", savedPath);
    ASSERT_EQ(asked.size(), 1);
    const QUrl page(asked[0]);
    EXPECT_EQ(page.toLocalFile(), HelpCommand::TopicPath());
    EXPECT_EQ(page.fragment(), "codecs");

    const QByteArray help = TestMedia::readFile(TestMedia::appDir() + "help/introduction.htm");
    for (const char* needed : {"id=\"codecs\"", "ffmpeg", "gstreamer1.0-libav",
                               "gstreamer1.0-plugins-bad", "gstreamer1.0-plugins-ugly"})
        EXPECT_TRUE(help.contains(needed)) << needed;
}

TEST_F(WindowTest, ACompletedRowsOutputIsSeenWithItsSourceAtTheSameMoment)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("clip.avi"), 4.0));
    open();
    add({media("clip.avi")});
    encodeAndWait();
    dlg->jobs().SelectRow(0);
    CPreviewPanel& preview = dlg->preview();
    trigger(32805);
    ASSERT_TRUE(preview.comparing());
    const CompareView* view = preview.compareView();
    ASSERT_TRUE(waitFor([&] { return view->showsBoth() && view->duration() > 3.0; }))
        << view->showsBoth() << " " << view->duration();
    const auto together = [&](double at) {
        return std::abs(view->position() - at) < 0.1 && std::abs(view->outputPosition() - at) < 0.1;
    };
    auto* slider = qobject_cast<QSlider*>(control(1050));
    slider->setSliderPosition(50);
    slider->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_TRUE(waitFor([&] { return together(view->duration() / 2); }));

    preview.OnPlayPreview();
    ASSERT_TRUE(waitFor([&] { return view->position() > view->duration() / 2 + 0.5; }));
    preview.OnPausePreview();
    EXPECT_TRUE(waitFor([&] { return together(view->position()); })) << "held on one moment";

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dlg.get(), &escape);
    EXPECT_FALSE(preview.comparing());
    ASSERT_TRUE(QFile::remove(out() + "/clip.mp4"));
    QMetaObject::invokeMethod(dlg->menus().popup, "aboutToShow");
    EXPECT_FALSE(dlg->menus().action(32805)->isEnabled()) << "the output is gone";
}

TEST_F(WindowTest, TheOutputFrameShowsTheRowAsItsConversionWouldShapeItBesideItsSource)
{
    ASSERT_TRUE(
        TestMedia::ffmpeg({"-f", "lavfi", "-i", "testsrc2=s=320x180:r=25:d=3,pad=320:240:0:30",
                           "-c:v", "libx264", "-preset", "ultrafast", "-y", media("boxed.mkv")}));
    open();
    dlg->profileBox()->setCurrentIndex(
        dlg->profileBox()->findText("MP4 - H.264 Video (Quality)", Qt::MatchStartsWith));
    add({media("boxed.mkv")});
    dlg->jobs().SelectRow(0);
    CPreviewPanel& preview = dlg->preview();
    QAction* entry = dlg->menus().action(32806);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->shortcut(), QKeySequence(Qt::Key_F8));
    entry->trigger();
    ASSERT_TRUE(preview.showsOutputStill());
    const CompareView* view = preview.compareView();
    EXPECT_EQ(view->accessibleName(), "Output frame beside its source");
    // The letterbox is cropped away, as the row's automatic crop would.
    ASSERT_TRUE(waitFor([&] { return !view->outputPicture().isNull() && view->showsBoth(); }))
        << view->outputCaption().toStdString();
    EXPECT_EQ(view->outputPicture().size(), QSize(320, 180));
    EXPECT_EQ(view->outputCaption(), QString::fromUtf8("Output 320\u00d7180"));

    // An edit of the row's options asks again.
    typeInto("Crop", "none");
    ASSERT_TRUE(waitFor([&] { return view->outputPicture().size() == QSize(320, 240); }))
        << view->outputCaption().toStdString();
    // So does the slider, for the picture at its moment.
    const QImage start = view->outputPicture();
    auto* slider = qobject_cast<QSlider*>(control(1050));
    slider->setSliderPosition(50);
    slider->triggerAction(QAbstractSlider::SliderMove);
    ASSERT_TRUE(waitFor([&] { return view->outputPicture() != start; }))
        << view->outputCaption().toStdString();
    EXPECT_EQ(view->outputPicture().size(), QSize(320, 240));

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dlg.get(), &escape);
    EXPECT_FALSE(preview.showsOutputStill());
    EXPECT_FALSE(preview.comparing());
}

TEST_F(WindowTest, TheStoppedPreviewFollowsTheSelection)
{
    ASSERT_TRUE(TestMedia::makeVideo(media("first.avi"), 3.0));
    ASSERT_TRUE(TestMedia::makeVideo(media("second.avi"), 1.0));
    ASSERT_TRUE(TestMedia::makePicture(media("still.png"), "160x120"));
    open();
    add({media("first.avi"), media("second.avi"), media("still.png")});
    ASSERT_EQ(dlg->jobModel().rowCount(), 3);
    CPreviewPanel& preview = dlg->preview();
    auto* time = qobject_cast<QLabel*>(control(1053));
    auto* slider = qobject_cast<QSlider*>(control(1050));

    auto* picture = qobject_cast<QLabel*>(control(1052));
    // The test pattern of the generated media is full of strong colours; the idle picture
    // has none.
    const auto colourful = [picture] {
        const QImage shown = picture->grab().toImage();
        int strong = 0;
        for (int y = 0; y < shown.height(); y += 2) {
            for (int x = 0; x < shown.width(); x += 2)
                strong += shown.pixelColor(x, y).hsvSaturation() > 150;
        }
        return strong > 50;
    };
    dlg->jobList()->clearSelection();
    ASSERT_TRUE(waitFor([&] { return preview.shownPath().isEmpty(); }));
    EXPECT_FALSE(colourful());
    dlg->jobs().SelectRow(0);
    ASSERT_TRUE(waitFor([&] { return preview.shownPath() == media("first.avi"); }));
    EXPECT_TRUE(waitFor(colourful)) << "the first frame is shown";
    EXPECT_EQ(preview.player().graph(), nullptr) << "read without a playing preview";
    EXPECT_EQ(preview.state(), CPreviewPanel::Idle);

    preview.OnPlayPreview();
    ASSERT_TRUE(waitFor([&] { return time->text() == "00:00:01"; }));
    preview.OnPausePreview();
    dlg->jobs().SelectRow(1);
    ASSERT_TRUE(waitFor([&] { return preview.shownPath() == media("second.avi"); }));
    EXPECT_EQ(preview.state(), CPreviewPanel::Idle);
    EXPECT_TRUE(waitFor(colourful));
    EXPECT_EQ(time->text(), "00:00:00");
    EXPECT_EQ(slider->value(), 0);

    // A picture shows as itself.
    dlg->jobs().SelectRow(2);
    ASSERT_TRUE(waitFor([&] { return preview.shownPath() == media("still.png"); }));
    EXPECT_TRUE(colourful());
    preview.OnPlayPreview();
    EXPECT_EQ(preview.player().graph(), nullptr) << "a picture is not played as a black clip";
    preview.StopPreview();

    dlg->jobList()->clearSelection();
    EXPECT_TRUE(waitFor([&] { return preview.shownPath().isEmpty(); }));
    EXPECT_FALSE(colourful());
}
