#pragma once

#include <QLayout>
#include <QList>
#include <QRect>

// Keeps each control of a dialog template at its template rectangle while the area is as
// large as the template, and moves or stretches it by its anchors when the area is larger;
// the area cannot be made smaller than the template. Threads: UI thread only.
class TemplateLayout : public QLayout
{
public:
    enum Anchor : unsigned
    {
        Fixed = 0,
        GrowWidth = 0x1,  // takes the extra width
        GrowHeight = 0x2, // takes the extra height
        MoveRight = 0x4,  // keeps its distance to the right edge
        MoveDown = 0x8,   // keeps its distance to the bottom edge
        // In the right-hand column, which takes its share of the extra width: moving right
        // follows the column's left edge, growing takes the column's extra width, and growing
        // in height leaves the picture its part.
        RightColumn = 0x10,
        Picture = 0x20,     // the column's picture: grows in height with the column's width
        ColumnRight = 0x40, // in the column, keeps its distance to the column's right edge
    };

    // Lays out `area`, whose template is `templateSize` pixels.
    TemplateLayout(QWidget* area, const QSize& templateSize);
    ~TemplateLayout() override;

    // Adds `control` at its present geometry, which is its template rectangle.
    void addControl(QWidget* control, unsigned anchors);
    // The anchors `control` was added with; Fixed for one not added.
    unsigned anchorsOf(const QWidget* control) const;
    // Gives the right-hand column `share` (0 to 1) of the extra width; the picture's height
    // grows with its width in the proportions of `pictureShape`, as far as the height allows.
    void setRightColumn(double share, const QSize& pictureShape);

    // Qt's layout interface: an item added the generic way stays fixed.
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry
    {
        QLayoutItem* item;
        QRect base;
        unsigned anchors;
    };
    QList<Entry> m_entries;
    QSize m_template;
    double m_rightShare = 0;
    QSize m_pictureShape;
};
