#include "TemplateLayout.h"

#include <QWidget>

TemplateLayout::TemplateLayout(QWidget* area, const QSize& templateSize)
    : QLayout(area), m_template(templateSize)
{
    setContentsMargins(0, 0, 0, 0);
    setSizeConstraint(QLayout::SetDefaultConstraint);
}

TemplateLayout::~TemplateLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void TemplateLayout::addControl(QWidget* control, unsigned anchors)
{
    addChildWidget(control);
    m_entries.append({new QWidgetItem(control), control->geometry(), anchors});
    invalidate();
}

unsigned TemplateLayout::anchorsOf(const QWidget* control) const
{
    for (const Entry& entry : m_entries) {
        if (entry.item->widget() == control)
            return entry.anchors;
    }
    return Fixed;
}

void TemplateLayout::setRightColumn(double share, const QSize& pictureShape)
{
    m_rightShare = qBound(0.0, share, 1.0);
    m_pictureShape = pictureShape;
    invalidate();
}

void TemplateLayout::addItem(QLayoutItem* item)
{
    m_entries.append({item, item->geometry(), Fixed});
}

QLayoutItem* TemplateLayout::itemAt(int index) const
{
    return index >= 0 && index < m_entries.size() ? m_entries[index].item : nullptr;
}

QLayoutItem* TemplateLayout::takeAt(int index)
{
    if (index < 0 || index >= m_entries.size())
        return nullptr;
    return m_entries.takeAt(index).item;
}

int TemplateLayout::count() const
{
    return int(m_entries.size());
}

QSize TemplateLayout::sizeHint() const
{
    return m_template;
}

QSize TemplateLayout::minimumSize() const
{
    return m_template;
}

Qt::Orientations TemplateLayout::expandingDirections() const
{
    return Qt::Horizontal | Qt::Vertical;
}

void TemplateLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const int dx = qMax(0, rect.width() - m_template.width());
    const int dy = qMax(0, rect.height() - m_template.height());
    const int right = int(dx * m_rightShare), left = dx - right;
    const int picture = m_pictureShape.isEmpty()
                            ? 0
                            : qMin(dy, right * m_pictureShape.height() / m_pictureShape.width());
    for (const Entry& entry : std::as_const(m_entries)) {
        QRect placed = entry.base.translated(rect.topLeft());
        const bool column = entry.anchors & RightColumn;
        const bool isPicture = entry.anchors & Picture;
        if (entry.anchors & MoveRight)
            placed.translate(left, 0);
        if (column && (entry.anchors & ColumnRight))
            placed.translate(right, 0);
        if (entry.anchors & MoveDown)
            placed.translate(0, isPicture ? dy - picture : dy);
        if (entry.anchors & GrowWidth)
            placed.setWidth(placed.width() + (column ? right : left));
        if (entry.anchors & GrowHeight)
            placed.setHeight(placed.height() + (column ? dy - picture : dy));
        if (isPicture)
            placed.setHeight(placed.height() + picture);
        // The widget's own rectangle, not the style's layout rectangle: the template is
        // drawn in widget rectangles.
        if (QWidget* control = entry.item->widget())
            control->setGeometry(placed);
        else
            entry.item->setGeometry(placed);
    }
}
