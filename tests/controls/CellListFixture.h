#pragma once

#include "CCellItemDelegate.h"
#include "CCellListCtrl.h"
#include "CCellListModel.h"
#include "CXHeaderCtrl.h"
#include "CellPaint.h"
#include "ResourceImages.h"

#include <QImage>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

#include <memory>

// A list set up as the job list does: five columns sized from the window width, the header
// image list of picture 130, a check box in column 0 of every row.
class CellListFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        list = std::make_unique<CCellListCtrl>();
        list->resize(600, 300);
        const int w = list->width();
        const int unit = w - 2;
        const struct
        {
            const char* title;
            int weight;
            Qt::Alignment align;
        } columns[] = {{"", 4, Qt::AlignHCenter},
                       {"Name", 24, Qt::AlignLeft},
                       {"Duration", 8, Qt::AlignHCenter},
                       {"Target", 8, Qt::AlignHCenter},
                       {"Status", 0, Qt::AlignHCenter}};
        int used = 0;
        for (int c = 0; c < 5; ++c) {
            const int width = c < 4 ? columns[c].weight * unit / 64 : w - 4 - used;
            used += width;
            list->InsertColumn(c, QString::fromLatin1(columns[c].title), columns[c].align, width);
        }
        list->SetHeaderImageList(ResourceImages::bitmap(130), 16, QColor(255, 0, 255));
        for (int c = 0; c < 5; ++c)
            list->SetHeaderImage(c, c == 0 ? 1 : 0);
        for (int r = 0; r < 3; ++r) {
            list->InsertItem(r, QString());
            list->SetCheck(r, 0, 1);
            list->SetItemText(r, 1, QStringLiteral("clip%1.avi").arg(r));
            list->SetItemText(r, 4, QStringLiteral("Ready"));
        }
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
    }

    QRect cellRect(int row, int column) const
    {
        return list->visualRect(list->cellModel()->index(row, column));
    }
    QPoint cellCentre(int row, int column) const { return cellRect(row, column).center(); }
    QImage grabList() const { return list->viewport()->grab().toImage(); }
    QImage grabHeader() const { return list->header()->viewport()->grab().toImage(); }
    const SystemColors& colors() const { return list->cellDelegate()->colors(); }
    CellPaint paintOf(int row, int column) const
    {
        return list->cellModel()
            ->index(row, column)
            .data(CCellListModel::CellPaintRole)
            .value<CellPaint>();
    }
    void clickCell(int row, int column, QPoint at = QPoint())
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          at.isNull() ? cellCentre(row, column) : at);
    }
    void clickHeader(int column)
    {
        CXHeaderCtrl* header = list->header();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(x, header->height() / 2));
    }

    std::unique_ptr<CCellListCtrl> list;
};

// Counts the pixels of `colour` inside `area` of `image`.
inline int countColour(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb();
    return count;
}

// Counts the pixels of `area` within `tolerance` of `colour` in each channel (anti-aliased
// text has few exact pixels).
inline int countNear(const QImage& image, const QRect& area, const QColor& colour,
                     int tolerance = 60)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) <= tolerance &&
                     std::abs(c.green() - colour.green()) <= tolerance &&
                     std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    return count;
}
