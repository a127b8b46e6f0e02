#include "CParamTree.h"
#include "CParamTreeCombo.h"
#include "CParamTreeEdit.h"
#include "CParamTreeInfo.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A tree as the parameter editor fills it: two categories, an edit, a drop-down, a locked edit.
class TreeFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(260, 330);
        tree = new CParamTree(0x19, 10000001, window.get());
        tree->setGeometry(0, 0, 240, 300);
        tree->setAccessibleName(QStringLiteral("Options"));
        after = new QPushButton(QStringLiteral("Next"), window.get());
        after->setGeometry(0, 302, 80, 24);
        QObject::connect(tree, &CParamTree::notify,
                         [this](int code, CParamTreeItem* item, bool* cancel) {
                             seen << qMakePair(code, item);
                             *cancel = cancelled.contains(code);
                         });
        tree->SetNotifyTarget(true, window.get());
        video = category("Video", "Video Options");
        title = edit(video, "Title", "set the title", "clip");
        size = combo(video, "Video Size", {"176x144", "320x240"}, "320x240");
        locked = edit(video, "fmt", "force format", "mp4");
        locked->SetReadOnly(true);
        audio = category("Audio", "Audio Options");
        channels = combo(audio, "Channels", {"1 (Mono)", "2 (Stereo)"}, "2");
        tree->ExpandAll();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        seen.clear();
    }

    CParamTreeItem* category(const char* label, const char* info)
    {
        auto* item = tree->InsertItem(new CParamTreeItem);
        item->SetLabel(label);
        item->SetHelpText(info);
        return item;
    }
    CParamTreeEdit* edit(CParamTreeItem* parent, const char* label, const char* help,
                         const char* text)
    {
        auto* item = new CParamTreeEdit;
        tree->InsertItem(item, parent);
        item->SetLabel(label);
        item->SetHelpText(help);
        EXPECT_EQ(item->CreateEdit(0), 1);
        EXPECT_EQ(item->CreateEdit(0), 0); // once per item
        item->SetText(text);
        return item;
    }
    CParamTreeCombo* combo(CParamTreeItem* parent, const char* label, QStringList choices,
                           const char* value)
    {
        auto* item = new CParamTreeCombo;
        tree->InsertItem(item, parent);
        item->SetLabel(label);
        EXPECT_EQ(item->CreateCombo(CParamTreeCombo::kDropDownList), 1);
        item->ComboBox()->addItems(choices);
        item->SelectString(value);
        return item;
    }

    QWidget* list() const { return tree->ListPane(); }
    QPoint label(CParamTreeItem* item) const { return {30, item->Top() + 9}; }
    QPoint value(CParamTreeItem* item) const { return {tree->Divider() + 20, item->Top() + 9}; }
    void click(QPoint at) { QTest::mouseClick(list(), Qt::LeftButton, Qt::NoModifier, at); }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
    }
    QList<int> codes() const
    {
        QList<int> all;
        for (const auto& one : seen)
            all << one.first;
        return all;
    }
    bool editorShown(CParamTreeItem* item) const { return item->EditorWidget()->isVisible(); }

    // Pixels near `colour` inside `area` of `image`.
    static int near(const QImage& image, const QRect& area, const QColor& colour)
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += qAbs(c.red() - colour.red()) + qAbs(c.green() - colour.green()) +
                             qAbs(c.blue() - colour.blue()) <
                         60;
            }
        return count;
    }

    // Declared first: notifications still arrive while the window goes.
    QList<QPair<int, CParamTreeItem*>> seen;
    QSet<int> cancelled;
    std::unique_ptr<QWidget> window;
    CParamTree* tree = nullptr;
    QPushButton* after = nullptr;
    CParamTreeItem *video = nullptr, *audio = nullptr;
    CParamTreeEdit *title = nullptr, *locked = nullptr;
    CParamTreeCombo *size = nullptr, *channels = nullptr;
};

} // namespace

TEST_F(TreeFixture, PaintsMarginLineExpandBoxesGreyLockedValuesAndTheInfoPane)
{
    const QImage rows = list()->grab().toImage();
    EXPECT_EQ(rows.pixelColor(16, title->Top() + 9), QColor(150, 172, 202));
    EXPECT_EQ(rows.pixelColor(16, 200), QColor(150, 172, 202)); // below the rows too
    const QColor ink = list()->palette().color(QPalette::Text);
    EXPECT_GE(near(rows, QRect(4, video->Top() + 5, 8, 8), ink), 4); // expand box
    EXPECT_EQ(near(rows, QRect(4, title->Top() + 5, 8, 8), ink), 0); // no children, no box
    const QColor grey = list()->palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_GT(near(rows, title->ValueRect(), title->TextColor()), 0);
    EXPECT_EQ(near(rows, locked->ValueRect(), title->TextColor()), 0);
    EXPECT_GT(near(rows, locked->ValueRect(), grey), 0);
    EXPECT_EQ(size->ValueText(), "320x240");
    EXPECT_EQ(channels->ValueText(), "2 (Stereo)");

    // With 0x19 and nothing focused the info pane is blank: only its ground inside the edge.
    auto* info = static_cast<CParamTreeInfo*>(tree->InfoPane());
    EXPECT_EQ(info->geometry(), QRect(0, 250, 240, 50));
    const QRect inside = info->rect().adjusted(2, 2, -2, -2);
    EXPECT_EQ(near(info->grab().toImage(), inside, CParamTreeInfo::background()),
              inside.width() * inside.height());

    click(label(title));
    EXPECT_EQ(info->Title(), "Title");
    EXPECT_EQ(info->Text(), "set the title");
    EXPECT_LT(near(info->grab().toImage(), inside, CParamTreeInfo::background()),
              inside.width() * inside.height());
    const QColor highlight = list()->palette().color(QPalette::Highlight);
    EXPECT_GT(near(list()->grab().toImage(), QRect(20, title->Top(), 20, 18), highlight), 100);

    CParamTree hinted(0x5, 1);
    auto* hintedInfo = static_cast<CParamTreeInfo*>(hinted.InfoPane());
    EXPECT_EQ(hintedInfo->Title(), "No Item Selected");
    EXPECT_EQ(hintedInfo->Text(), "Select an item to see its description.");
}

TEST_F(TreeFixture, ClicksSelectAndOnlyEditableValuesOpenAnEditorWhileActive)
{
    click(value(title));
    EXPECT_EQ(codes(), (QList<int>{-2, -1107, -1110}));
    EXPECT_TRUE(title->IsActive());
    ASSERT_TRUE(editorShown(title));
    EXPECT_TRUE(title->EditorWidget()->hasFocus());
    key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(title->EditorWidget(), "my clip");
    seen.clear();
    key(Qt::Key_Return);
    EXPECT_EQ(codes(), (QList<int>{-1105}));
    EXPECT_FALSE(editorShown(title));
    EXPECT_EQ(title->ValueText(), "my clip");

    // Read-only and category values select the row but never show an editor.
    click(value(locked));
    EXPECT_EQ(tree->FocusedItem(), locked);
    EXPECT_TRUE(locked->IsSelected() && !title->IsSelected());
    EXPECT_FALSE(locked->IsActive() || editorShown(locked));
    click(value(video));
    EXPECT_EQ(tree->FocusedItem(), video);
    EXPECT_FALSE(title->IsActive() || size->IsActive());

    click(value(size));
    ASSERT_TRUE(editorShown(size));
    click(label(channels)); // leaving the editor hides it
    EXPECT_FALSE(size->IsActive() || editorShown(size));

    seen.clear();
    click(QPoint(60, 200)); // below the last row
    EXPECT_EQ(tree->FocusedItem(), nullptr);
    EXPECT_EQ(seen.last(), qMakePair(-1107, static_cast<CParamTreeItem*>(nullptr)));
}

TEST_F(TreeFixture, CancelledNotificationsKeepEditorExpansionAndDivider)
{
    cancelled = {-1110, -1108, -1109};
    click(value(title));
    EXPECT_FALSE(title->IsActive() || editorShown(title));
    click(QPoint(7, video->Top() + 9));
    EXPECT_TRUE(video->IsExpanded());
    const int divider = tree->Divider();
    QTest::mousePress(list(), Qt::LeftButton, {}, QPoint(divider, title->Top() + 9));
    QTest::mouseRelease(list(), Qt::LeftButton, {}, QPoint(100, title->Top() + 9));
    EXPECT_EQ(tree->Divider(), divider);

    cancelled.clear();
    click(QPoint(7, video->Top() + 9));
    EXPECT_FALSE(video->IsExpanded());
    EXPECT_EQ(channels->Top(), 2 * 18); // Video's rows are gone from the screen
}

TEST_F(TreeFixture, DividerIsClampedAndADoubleClickFitsTheWidestLabel)
{
    const auto drag = [this](int to) {
        const int y = title->Top() + 9;
        QTest::mousePress(list(), Qt::LeftButton, {}, QPoint(tree->Divider(), y));
        QTest::mouseMove(list(), QPoint(to, y));
        QTest::mouseRelease(list(), Qt::LeftButton, {}, QPoint(to, y));
    };
    drag(10);
    EXPECT_EQ(tree->Divider(), 41);
    EXPECT_EQ(title->ValueRect().left(), 46);
    drag(239);
    EXPECT_EQ(tree->Divider(), 240 - 25);
    drag(100);
    EXPECT_EQ(tree->Divider(), 100);
    EXPECT_TRUE(seen.contains(qMakePair(-1109, static_cast<CParamTreeItem*>(title))));

    QTest::mouseDClick(list(), Qt::LeftButton, {}, QPoint(100, title->Top() + 9));
    const QFontMetrics metrics(tree->NormalFont());
    EXPECT_EQ(tree->Divider(), 20 + metrics.horizontalAdvance("Video Size") + 5);
}

TEST_F(TreeFixture, KeysMoveTheFocusFoldCategoriesOpenEditorsAndTabOut)
{
    list()->setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(tree->FocusedItem(), video);
    key(Qt::Key_Down);
    EXPECT_EQ(tree->FocusedItem(), title);
    EXPECT_TRUE(title->IsSelected() && !video->IsSelected());
    key(Qt::Key_End);
    EXPECT_EQ(tree->FocusedItem(), channels);
    key(Qt::Key_Home);
    key(Qt::Key_Left);
    EXPECT_FALSE(video->IsExpanded());
    key(Qt::Key_Down);
    EXPECT_EQ(tree->FocusedItem(), audio);
    key(Qt::Key_Up);
    key(Qt::Key_Right);
    EXPECT_TRUE(video->IsExpanded());

    key(Qt::Key_Down);
    key(Qt::Key_Return);
    ASSERT_TRUE(editorShown(title));
    QTest::keyClicks(title->EditorWidget(), "X");
    key(Qt::Key_Escape);
    EXPECT_EQ(title->ValueText(), "clip");
    EXPECT_TRUE(list()->hasFocus());

    // Tab walks the rows opening each editable one; past the last row it leaves the control.
    key(Qt::Key_Tab);
    EXPECT_EQ(tree->FocusedItem(), size);
    EXPECT_TRUE(size->EditorWidget()->hasFocus());
    key(Qt::Key_Tab);
    EXPECT_EQ(tree->FocusedItem(), locked);
    EXPECT_FALSE(size->IsActive() || editorShown(size) || editorShown(locked));
    key(Qt::Key_Backtab);
    EXPECT_EQ(tree->FocusedItem(), size);
    key(Qt::Key_Escape);
    key(Qt::Key_End);
    key(Qt::Key_Tab);
    EXPECT_FALSE(editorShown(channels));
    EXPECT_TRUE(after->hasFocus());
}

TEST_F(TreeFixture, AssistiveToolsSeeEveryRowWithRoleNameAndValue)
{
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(list());
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->role(), QAccessible::Tree);
    EXPECT_EQ(pane->text(QAccessible::Name), "Options");
    ASSERT_EQ(pane->childCount(), 6);
    const struct
    {
        QAccessible::Role role;
        const char* name;
        const char* value;
    } expected[] = {{QAccessible::TreeItem, "Video", ""},
                    {QAccessible::EditableText, "Title", "clip"},
                    {QAccessible::ComboBox, "Video Size", "320x240"},
                    {QAccessible::EditableText, "fmt", "mp4"}};
    for (int i = 0; i < 4; ++i) {
        QAccessibleInterface* row = pane->child(i);
        EXPECT_EQ(row->role(), expected[i].role);
        EXPECT_EQ(row->text(QAccessible::Name), expected[i].name);
        EXPECT_EQ(row->text(QAccessible::Value), expected[i].value);
        EXPECT_EQ(pane->indexOfChild(row), i);
        EXPECT_EQ(row->parent(), pane);
    }
    EXPECT_TRUE(pane->child(3)->state().readOnly);
    EXPECT_TRUE(pane->child(0)->state().expanded);
    EXPECT_EQ(title->EditorWidget()->accessibleName(), "Title");

    click(label(size));
    EXPECT_EQ(pane->focusChild(), pane->child(2));
    EXPECT_TRUE(pane->child(2)->state().focused);

    // Deleting everything while an editor has the keyboard: nothing dangles, focus stays.
    const QAccessible::Id old = QAccessible::uniqueId(pane->child(1));
    click(value(title));
    ASSERT_TRUE(title->EditorWidget()->hasFocus());
    seen.clear();
    tree->DeleteAllItems();
    EXPECT_EQ(codes(), (QList<int>{-1105, -1102}));
    EXPECT_EQ(tree->FocusedItem(), nullptr);
    EXPECT_TRUE(list()->hasFocus());
    EXPECT_EQ(pane->childCount(), 0);
    EXPECT_EQ(QAccessible::accessibleInterface(old), nullptr);
}

TEST_F(TreeFixture, WheelAndScrollBarReachRowsThatDoNotFit)
{
    for (int i = 0; i < 20; ++i)
        edit(audio, "row", "", QByteArray::number(i));
    tree->ExpandAll();
    auto* bar = list()->findChild<QScrollBar*>();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 26 * 18 - 250);
    QWheelEvent wheel(QPointF(50, 50), list()->mapToGlobal(QPointF(50, 50)), {}, {0, -120},
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list(), &wheel);
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(video->Top(), -bar->value());

    list()->setFocus();
    key(Qt::Key_End);
    CParamTreeItem* last = tree->FocusedItem();
    EXPECT_EQ(last->Top() + last->Height(), 250);
    key(Qt::Key_Return);
    EXPECT_EQ(last->EditorWidget()->geometry(), last->ValueRect());
    EXPECT_LE(last->ValueRect().right(), list()->width() - bar->width());
}
