#pragma once

#include "SystemColors.h"

#include <QHeaderView>
#include <QList>
#include <QPixmap>

// The job list's header: draws its own items on a light blue-grey band, with an image from
// its image list at each item's left (the check-all box above the check column).
// Item images come from the model's CCellListModel::HeaderImageRole. Threads: UI thread only.
class CXHeaderCtrl : public QHeaderView
{
    Q_OBJECT
public:
    explicit CXHeaderCtrl(QWidget* parent = nullptr);

    // Cuts `strip` into images `imageWidth` pixels wide; pixels of `transparent` become
    // transparent. An empty strip removes the image list.
    void setImageList(const QPixmap& strip, int imageWidth, const QColor& transparent);
    void clearImageList();
    const QList<QPixmap>& imageList() const { return m_images; }

    // Each item's rectangle is narrowed by this on both sides before drawing.
    static constexpr int kItemMargin = 6;
    // The band's colour.
    static QColor backgroundColor() { return QColor(230, 235, 242); }

    // Tall enough for the font and the images.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // A title cut short shows whole as the item's tooltip.
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The room for an item's title: its rectangle less the margins and its image.
    int titleWidth(int logical) const;

    QList<QPixmap> m_images;
    QSize m_imageSize;
    SystemColors m_colors;
};
