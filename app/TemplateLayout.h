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
    };

    // Lays out `area`, whose template is `templateSize` pixels.
    TemplateLayout(QWidget* area, const QSize& templateSize);
    ~TemplateLayout() override;

    // Adds `control` at its present geometry, which is its template rectangle.
    void addControl(QWidget* control, unsigned anchors);
    // The anchors `control` was added with; Fixed for one not added.
    unsigned anchorsOf(const QWidget* control) const;

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
};
