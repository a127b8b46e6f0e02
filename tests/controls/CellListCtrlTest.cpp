#include "CellListFixture.h"

#include <QSignalSpy>

namespace {

// The progress cell as drawn: the shrunk rectangle L, T, R, B (right and bottom exclusive).
struct Trough
{
    int L, T, R, B;
};

Trough troughOf(const QRect& cell)
{
    return {cell.left() + 1, cell.top(), cell.left() + cell.width() - 2,
            cell.top() + cell.height() - 1};
}

const QColor kTroughGrey(224, 224, 224);

} // namespace

TEST_F(CellListFixture, ProgressAtZeroShowsTheEmptyTroughWithoutText)
{
    list->SetProgress(0, 4);
    list->UpdateProgress(0, 4, 0);
    const QImage image = grabList();
    const Trough t = troughOf(cellRect(0, 4));

    EXPECT_EQ(image.pixelColor(t.L, t.T).rgb(), colors().buttonShadow.rgb());
    EXPECT_EQ(image.pixelColor(t.R, t.T + 3).rgb(), colors().buttonShadow.rgb());
    EXPECT_EQ(image.pixelColor(t.L + 3, t.B).rgb(), colors().buttonShadow.rgb());
    EXPECT_EQ(image.pixelColor(t.L + 3, t.T + 1), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(t.L + 1, t.T + 3), QColor(Qt::black));
    // Everything inside the black lines is the grey trough: no bar, no figures.
    const QRect inner(t.L + 2, t.T + 2, t.R - (t.L + 2), t.B - (t.T + 2));
    EXPECT_EQ(countColour(image, inner, kTroughGrey), inner.width() * inner.height());
    EXPECT_EQ(paintOf(0, 4).progressText, "0%");
}

TEST_F(CellListFixture, ProgressAtHalfCoversHalfTheInnerWidthWithTwoColouredFigures)
{
    list->SetProgress(1, 4);
    list->UpdateProgress(1, 4, 50);
    const QImage image = grabList();
    const Trough t = troughOf(cellRect(1, 4));
    const int barRight = t.L + 2 + (t.R - (t.L + 2)) * 50 / 100;

    // The top row of the bar is clear of the figures.
    const QRect barTop(t.L + 2, t.T + 2, barRight - (t.L + 2), 1);
    const QRect troughTop(barRight, t.T + 2, t.R - barRight, 1);
    EXPECT_EQ(countColour(image, barTop, colors().highlight), barTop.width());
    EXPECT_EQ(countColour(image, troughTop, kTroughGrey), troughTop.width());

    // "50%" is centred, so it straddles the bar's end: window-coloured over the bar, text
    // coloured beyond it.
    EXPECT_EQ(paintOf(1, 4).progressText, "50%");
    const QRect overBar(t.L + 2, t.T + 3, barRight - (t.L + 2), t.B - (t.T + 3));
    const QRect beyond(barRight, t.T + 3, t.R - barRight, t.B - (t.T + 3));
    EXPECT_GT(countNear(image, overBar, colors().window), 0);
    EXPECT_GT(countNear(image, beyond, colors().windowText), 0);
    EXPECT_EQ(countNear(image, overBar, colors().windowText), 0);
    EXPECT_EQ(countNear(image, beyond, colors().window, 20), 0);
}

TEST_F(CellListFixture, ProgressTextFormats)
{
    const struct
    {
        const char* format;
        int percent;
        const char* text;
    } cases[] = {{"", 7, "7%"},
                 {"%d percent", 42, "42 percent"},
                 {"%s%n%x", 5, "%s%n%x"}, // anything but %d and %% is shown as it is
                 {"100%%", 3, "100%"}};
    for (const auto& c : cases)
        EXPECT_EQ(CCellListModel::formatPercent(QString::fromLatin1(c.format), c.percent), c.text)
            << c.format;
    list->SetProgress(2, 4, true, QStringLiteral("done %d%%"));
    list->UpdateProgress(2, 4, 64);
    EXPECT_EQ(paintOf(2, 4).progressText, "done 64%");
    list->SetProgress(2, 4, false);
    list->UpdateProgress(2, 4, 64);
    EXPECT_TRUE(paintOf(2, 4).progressText.isEmpty());
}

TEST_F(CellListFixture, ProgressFiguresShowWhereTheCellHasRoomAndNeverWider)
{
    list->SetProgress(0, 4);
    list->UpdateProgress(0, 4, 42);
    list->SetProgressDetail(0, 4, {QStringLiteral("1.3×"), QStringLiteral("0:01:10")});
    const CellPaint paint = paintOf(0, 4);
    const QFont font = list->font();
    const QFontMetrics metrics(font);
    EXPECT_EQ(CCellItemDelegate::progressLine(paint, font, 1000), "42% · 1.3× · 0:01:10");
    const int both = metrics.horizontalAdvance("42% · 1.3× · 0:01:10");
    EXPECT_EQ(CCellItemDelegate::progressLine(paint, font, both - 1), "42% · 1.3×");
    EXPECT_EQ(CCellItemDelegate::progressLine(paint, font, 5), "42%");
    for (int width = 0; width < both + 10; width += 7) {
        const QString line = CCellItemDelegate::progressLine(paint, font, width);
        EXPECT_TRUE(line == "42%" || metrics.horizontalAdvance(line) <= width) << width;
    }
    // A bar started again forgets the figures of the run before.
    list->SetProgress(0, 4);
    EXPECT_TRUE(paintOf(0, 4).progressDetail.isEmpty());
}

TEST_F(CellListFixture, ProgressAbove100StaysInsideTheCell)
{
    list->SetProgress(0, 4);
    list->UpdateProgress(0, 4, 250);
    const QImage image = grabList();
    const QRect cell = cellRect(0, 4);
    const Trough t = troughOf(cell);
    EXPECT_EQ(image.pixelColor(t.R, t.T + 2).rgb(), colors().buttonShadow.rgb());
    EXPECT_EQ(image.pixelColor(t.R - 1, t.T + 2).rgb(), colors().highlight.rgb());
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        EXPECT_NE(image.pixelColor(cell.right(), y).rgb(), colors().highlight.rgb());
}

TEST_F(CellListFixture, RemovedProgressShowsTheTextAgain)
{
    list->SetProgress(0, 4);
    list->UpdateProgress(0, 4, 80);
    list->RemoveProgress(0, 4);
    list->SetItemText(0, 4, QStringLiteral("Completed"));
    const CellPaint paint = paintOf(0, 4);
    EXPECT_FALSE(paint.progress);
    EXPECT_EQ(paint.percent, 0);
    const QImage image = grabList();
    const Trough t = troughOf(cellRect(0, 4));
    EXPECT_EQ(countColour(image, QRect(t.L, t.T, t.R - t.L, t.B - t.T), kTroughGrey), 0);
    EXPECT_GT(countColour(image, cellRect(0, 4), colors().windowText), 0);
}

TEST_F(CellListFixture, CheckBoxGeometryAndMark)
{
    list->SetCheck(1, 0, 0);
    const QImage image = grabList();
    for (int row : {0, 1}) {
        const QRect cell = cellRect(row, 0);
        const int side = cell.height() - 1;
        // Centred, since the cell has no text; then the left edge moves one pixel right.
        const int L = cell.left() + cell.width() / 2 - side / 2 - 1 + 1;
        const int T = cell.top();
        const int R = L + side - 1;
        const int B = T + side;
        EXPECT_EQ(image.pixelColor(L + 3, T).rgb(), colors().buttonShadow.rgb()) << row;
        EXPECT_EQ(image.pixelColor(L, T + 3).rgb(), colors().buttonShadow.rgb()) << row;
        EXPECT_EQ(image.pixelColor(L + 3, B - 1).rgb(), colors().buttonHighlight.rgb()) << row;
        EXPECT_EQ(image.pixelColor(R - 1, T + 3).rgb(), colors().buttonHighlight.rgb()) << row;
        EXPECT_EQ(image.pixelColor(L + 3, T + 1).rgb(), colors().darkShadow.rgb()) << row;
        // The pixel left of the box belongs to the cell, not the box.
        EXPECT_NE(image.pixelColor(L - 2, T + 3).rgb(), colors().buttonShadow.rgb()) << row;

        // The mark: 3-pixel strokes at x0+9..x0+3 starting at y0+3, 4, 5, 6, 7, 6, 5.
        const int strokes[][2] = {{9, 3}, {8, 4}, {7, 5}, {6, 6}, {5, 7}, {4, 6}, {3, 5}};
        int marked = 0;
        for (const auto& s : strokes)
            for (int dy = 0; dy < 3; ++dy)
                marked += image.pixelColor(L + s[0], T + s[1] + dy) == QColor(Qt::black);
        EXPECT_EQ(marked, row == 0 ? 21 : 0) << row;
        // Above the first stroke the box is white.
        EXPECT_EQ(image.pixelColor(L + 9, T + 2).rgb(), colors().window.rgb()) << row;
    }
}

TEST_F(CellListFixture, CheckBoxBesideTextSitsNineFromTheLeft)
{
    list->SetItemText(0, 0, QStringLiteral("x"));
    const QImage image = grabList();
    const QRect cell = cellRect(0, 0);
    const QRect box = CCellItemDelegate::checkBoxRect(cell, true);
    EXPECT_EQ(box.left(), cell.left() + 9);
    EXPECT_EQ(image.pixelColor(box.left() + 1, cell.top() + 3).rgb(), colors().buttonShadow.rgb());
}

TEST_F(CellListFixture, HeaderCheckAllFollowsTheRows)
{
    QSignalSpy clicked(list.get(), &CCellListCtrl::checkboxClicked);
    EXPECT_EQ(list->GetHeaderImage(0), 2); // every row was checked at insertion

    clickCell(1, 0);
    EXPECT_EQ(list->GetCheck(1, 0), 0);
    EXPECT_EQ(list->GetHeaderImage(0), 1);
    const int darkMark = countColour(grabHeader(), QRect(0, 0, 40, list->header()->height()),
                                     QColor(0x20, 0x20, 0x20));
    EXPECT_EQ(darkMark, 0);

    // Checking the last unchecked row turns the header box checked.
    clickCell(1, 0);
    EXPECT_EQ(list->GetCheck(1, 0), 1);
    EXPECT_EQ(list->GetHeaderImage(0), 2);
    EXPECT_GT(countColour(grabHeader(), QRect(0, 0, 40, list->header()->height()),
                          QColor(0x20, 0x20, 0x20)),
              0);
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(1).at(0).toInt(), 1);
    EXPECT_EQ(clicked.at(1).at(1).toInt(), 0);

    // Set check from code follows the same rule.
    list->SetCheck(2, 0, 0);
    EXPECT_EQ(list->GetHeaderImage(0), 1);
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(CellListFixture, HeaderClickChecksAndUnchecksEveryRowButNameDoesNothing)
{
    QSignalSpy clicked(list.get(), &CCellListCtrl::checkboxClicked);
    for (int r = 0; r < 3; ++r)
        list->SetCheck(r, 0, 0);
    ASSERT_EQ(list->GetHeaderImage(0), 1);

    clickHeader(0);
    EXPECT_EQ(list->GetHeaderImage(0), 2);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(list->GetCheck(r, 0), 1) << r;

    clickHeader(0);
    EXPECT_EQ(list->GetHeaderImage(0), 1);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(list->GetCheck(r, 0), 0) << r;

    list->SetCheck(1, 0, 1);
    clickHeader(1);
    EXPECT_EQ(list->GetHeaderImage(1), 0);
    EXPECT_EQ(list->GetHeaderImage(0), 1);
    const int expected[] = {0, 1, 0};
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(list->GetCheck(r, 0), expected[r]) << r;
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(CellListFixture, HeaderDrawsItsOwnBandTitlesAndSeparators)
{
    const QImage image = grabHeader();
    CXHeaderCtrl* header = list->header();
    const int right1 = header->sectionViewportPosition(1) + header->sectionSize(1);
    const int mid = header->height() / 2;
    EXPECT_EQ(image.pixelColor(right1 - 1, mid).rgb(), colors().buttonShadow.rgb());
    EXPECT_EQ(image.pixelColor(right1, mid).rgb(), colors().buttonHighlight.rgb());
    // The band colour fills the rest, and "Name" is drawn in the button-text colour.
    const QRect name(header->sectionViewportPosition(1) + 8, 2, header->sectionSize(1) - 16,
                     header->height() - 4);
    EXPECT_GT(countColour(image, name, CXHeaderCtrl::backgroundColor()), name.width());
    EXPECT_GT(countColour(image, name, colors().buttonText), 0);
}

TEST_F(CellListFixture, ClickAnywhereInTheCheckCellTogglesAndSelects)
{
    QSignalSpy clicked(list.get(), &CCellListCtrl::checkboxClicked);
    const QRect cell = cellRect(2, 0);
    clickCell(2, 0, QPoint(cell.left() + 1, cell.bottom() - 1)); // outside the box itself
    EXPECT_EQ(list->GetCheck(2, 0), 0);
    EXPECT_EQ(list->GetFirstSelectedItem(), 2);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 2);

    // A click on another column only selects.
    clickCell(0, 1);
    EXPECT_EQ(list->GetCheck(0, 0), 1);
    EXPECT_EQ(list->GetFirstSelectedItem(), 0);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(CellListFixture, DisabledRowIgnoresClicksAndGreysItsMark)
{
    QSignalSpy clicked(list.get(), &CCellListCtrl::checkboxClicked);
    list->SetRowEnabled(1, false);
    clickCell(1, 0);
    EXPECT_EQ(list->GetCheck(1, 0), 1);
    EXPECT_EQ(clicked.count(), 0);

    list->clearSelection();
    const QImage image = grabList();
    const QRect cell = cellRect(1, 0);
    const int side = cell.height() - 1;
    const int L = cell.left() + cell.width() / 2 - side / 2;
    EXPECT_EQ(image.pixelColor(L + 9, cell.top() + 4).rgb(), colors().greyText.rgb());
    EXPECT_GT(countColour(image, cellRect(1, 1), colors().greyText), 0);
}

TEST_F(CellListFixture, SelectedRowColoursExceptTheProgressCell)
{
    list->SetProgress(0, 4);
    list->UpdateProgress(0, 4, 0);
    list->activateWindow();
    list->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
    list->SelectItem(0);
    QImage image = grabList();
    const QRect name = cellRect(0, 1);
    EXPECT_EQ(image.pixelColor(name.right() - 2, name.top() + 2).rgb(), colors().highlight.rgb());
    const Trough t = troughOf(cellRect(0, 4));
    EXPECT_EQ(image.pixelColor(t.L + 4, t.T + 4), kTroughGrey);

    // Without the focus the selection stays visible in the inactive highlight.
    list->clearFocus();
    image = grabList();
    EXPECT_EQ(image.pixelColor(name.right() - 2, name.top() + 2).rgb(),
              colors().inactiveHighlight.rgb());
    EXPECT_NE(colors().inactiveHighlight.rgb(), colors().window.rgb());
}

TEST_F(CellListFixture, OutOfRangeRowsAndColumnsAreIgnored)
{
    const struct
    {
        int row, column;
    } outside[] = {{-1, 0}, {3, 0}, {0, -1}, {0, 5}, {100, 100}};
    for (const auto& o : outside) {
        SCOPED_TRACE(testing::Message() << o.row << "," << o.column);
        EXPECT_EQ(list->SetCheck(o.row, o.column, 0), 0);
        EXPECT_EQ(list->GetCheck(o.row, o.column), -1);
        EXPECT_EQ(list->SetItemText(o.row, o.column, QStringLiteral("x")), 0);
        EXPECT_EQ(list->SetProgress(o.row, o.column), 0);
        EXPECT_EQ(list->UpdateProgress(o.row, o.column, 50), 0);
        EXPECT_EQ(list->RemoveProgress(o.row, o.column), 0);
        EXPECT_TRUE(list->GetItemText(o.row, o.column).isEmpty());
    }
    EXPECT_EQ(list->GetItemData(3), nullptr);
    EXPECT_EQ(list->SetItemData(-1, this), 0);
    EXPECT_FALSE(list->DeleteItem(3));
    EXPECT_EQ(list->InsertItem(-1, QString()), -1);
    EXPECT_FALSE(list->SetHeaderImage(5, 1));
    EXPECT_EQ(list->GetHeaderImage(5), -1);
    EXPECT_EQ(list->GetItemCount(), 3);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(list->GetCheck(r, 0), 1);
    EXPECT_EQ(list->GetHeaderImage(0), 2);
}

TEST_F(CellListFixture, RowData)
{
    int job = 7;
    EXPECT_EQ(list->SetItemData(1, &job), 1);
    EXPECT_EQ(list->GetItemData(1), &job);
    EXPECT_EQ(list->GetItemData(0), nullptr);
    list->DeleteItem(0);
    EXPECT_EQ(list->GetItemData(0), &job);
    EXPECT_EQ(list->InsertItem(99, QStringLiteral("appended")), 2);
}

TEST_F(CellListFixture, ColumnAddedAfterARowDrawsItsCellAsPlainText)
{
    const int added = list->InsertColumn(5, QStringLiteral("Extra"), Qt::AlignLeft, 60);
    ASSERT_EQ(added, 5);
    EXPECT_EQ(list->SetCheck(0, 5, 1), 0);
    EXPECT_EQ(list->SetProgress(0, 5), 0);
    EXPECT_EQ(list->SetItemText(0, 5, QStringLiteral("plain")), 1);
    EXPECT_FALSE(paintOf(0, 5).hasRecord);
    EXPECT_EQ(paintOf(0, 5).check, -1);
    EXPECT_GT(countColour(grabList(), cellRect(0, 5), colors().windowText), 0);

    const int row = list->InsertItem(3, QString());
    EXPECT_EQ(list->SetCheck(row, 5, 1), 1);
}

TEST_F(CellListFixture, TooltipsAreCutTo80Characters)
{
    list->SetItemToolTip(0, 1, QString(100, QLatin1Char('a')));
    const QString tip = list->cellModel()->index(0, 1).data(Qt::ToolTipRole).toString();
    EXPECT_EQ(tip.size(), 80);
}

TEST_F(CellListFixture, EmptyLookTilesThePictureWithoutHeaderOrColumns)
{
    for (int r = 2; r >= 0; --r)
        list->DeleteItem(r);
    for (int c = 4; c >= 0; --c)
        list->DeleteColumn(c);
    const QPixmap tile = ResourceImages::bitmap(195);
    ASSERT_FALSE(tile.isNull());
    list->SetEmptyLook(tile);
    QTest::qWait(0);
    EXPECT_FALSE(list->header()->isVisible());
    EXPECT_EQ(list->GetColumnCount(), 0);

    const QImage image = grabList();
    const QImage picture = tile.toImage();
    for (const QPoint p : {QPoint(5, 5), QPoint(40, 50), QPoint(70, 30)}) {
        EXPECT_EQ(image.pixelColor(p).rgb(), picture.pixelColor(p).rgb());
        EXPECT_EQ(image.pixelColor(p + QPoint(tile.width(), 0)).rgb(), picture.pixelColor(p).rgb());
        EXPECT_EQ(image.pixelColor(p + QPoint(0, tile.height())).rgb(),
                  picture.pixelColor(p).rgb());
    }

    list->SetReportLook();
    list->InsertColumn(0, QString(), Qt::AlignHCenter, 40);
    QTest::qWait(0);
    EXPECT_TRUE(list->header()->isVisible());
    EXPECT_EQ(grabList().pixelColor(40, 50).rgb(), colors().window.rgb());
}

TEST_F(CellListFixture, KeysMoveTheSelection)
{
    list->activateWindow();
    list->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
    list->SelectItem(0);
    QTest::keyClick(list.get(), Qt::Key_Down);
    EXPECT_EQ(list->GetFirstSelectedItem(), 1);
    QTest::keyClick(list.get(), Qt::Key_End);
    EXPECT_EQ(list->GetFirstSelectedItem(), 2);
    // Keys never toggle check boxes.
    EXPECT_EQ(list->GetCheck(2, 0), 1);
}
