#include "CParamTreeList.h"

#include "CParamTree.h"
#include "CParamTreeAccessible.h"
#include "CParamTreeItemAccessible.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <qdrawutil.h>

namespace {

constexpr QRgb kMarginLine = qRgb(150, 172, 202);
constexpr int kLabelX = CParamTree::kMargin + 4; // labels start right of the margin line
constexpr int kLevelIndent = 10;                 // deeper levels than two

QRect expandBox(const CParamTreeItem* item)
{
    return QRect(4, item->Top() + 5, 8, 8);
}

} // namespace

CParamTreeList::CParamTreeList(CParamTree* tree) : QWidget(tree), m_tree(tree)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->hide();
    connect(m_scroll, &QScrollBar::valueChanged, this, [this] { m_tree->PlaceEditors(); });
    QAccessible::registerAccessibleInterface(new CParamTreeAccessible(this));
}

CParamTreeList::~CParamTreeList()
{
    for (const QAccessible::Id id : std::as_const(m_accessible))
        QAccessible::deleteAccessibleInterface(id);
}

int CParamTreeList::ClientWidth() const
{
    return width() - (m_scroll->isVisibleTo(this) ? m_scroll->width() : 0);
}

void CParamTreeList::Relayout()
{
    m_rows.clear();
    m_levels.clear();
    m_tree->ForEachItem(nullptr, [](CParamTreeItem* item) {
        item->m_valueRect = QRect();
        item->m_nextVisible = nullptr;
    });
    int total = 0;
    const std::function<void(CParamTreeItem*, int)> collect = [&](CParamTreeItem* parent,
                                                                  int level) {
        for (CParamTreeItem* item = parent->FirstChild(); item; item = item->NextSibling()) {
            m_rows << item;
            m_levels << level;
            total += item->Height();
            if (item->IsExpanded())
                collect(item, level + 1);
        }
    };
    collect(m_tree->Root(), 0);

    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroll);
    m_scroll->setGeometry(width() - extent, 0, extent, height());
    m_scroll->setVisible(total > height());
    {
        const QSignalBlocker quiet(m_scroll);
        m_scroll->setRange(0, qMax(0, total - height()));
        m_scroll->setPageStep(qMax(1, height()));
        m_scroll->setSingleStep(18);
    }

    const int divider = m_tree->Divider() >= 0 ? m_tree->Divider() : ClientWidth() / 2;
    const int valueLeft = divider + 5;
    const int valueRight = ClientWidth() - 2; // inside the sunken edge
    int y = -m_scroll->value();
    for (int i = 0; i < m_rows.size(); ++i) {
        CParamTreeItem* item = m_rows[i];
        item->m_y = y;
        item->m_x = kLabelX + qMax(0, m_levels[i] - 1) * kLevelIndent;
        item->m_valueRect = QRect(valueLeft, y, qMax(0, valueRight - valueLeft), item->Height());
        item->m_nextVisible = i + 1 < m_rows.size() ? m_rows[i + 1] : nullptr;
        y += item->Height();
    }
}

void CParamTreeList::EnsureVisible(CParamTreeItem* item)
{
    if (!m_rows.contains(item))
        return;
    const int top = item->Top() + m_scroll->value();
    if (item->Top() < 0)
        m_scroll->setValue(top);
    else if (item->Top() + item->Height() > height())
        m_scroll->setValue(top + item->Height() - height());
}

int CParamTreeList::HitTest(const QPoint& point, CParamTreeItem** found) const
{
    if (found)
        *found = nullptr;
    if (point.x() >= ClientWidth())
        return CParamTree::kHitNothing;
    for (CParamTreeItem* item : m_rows) {
        if (point.y() < item->Top() || point.y() >= item->Top() + item->Height())
            continue;
        if (found)
            *found = item;
        if (item->FirstChild() && expandBox(item).adjusted(-1, -1, 1, 1).contains(point))
            return CParamTree::kHitExpand;
        const int divider = m_tree->Divider();
        if (!item->IsTopLevel() && qAbs(point.x() - divider) <= 2)
            return CParamTree::kHitDivider;
        return point.x() > divider + 2 ? CParamTree::kHitValue : CParamTree::kHitLabel;
    }
    return CParamTree::kHitNothing;
}

void CParamTreeList::paintEvent(QPaintEvent*)
{
    // The backing store already double-buffers: what is painted here lands on screen at once.
    QPainter painter(this);
    const QPalette& colours = palette();
    const QRect client(0, 0, ClientWidth(), height());
    const QColor face = colours.color(QPalette::Active, QPalette::Button);
    const QColor window = colours.color(QPalette::Active, QPalette::Base);
    painter.fillRect(client, face);
    painter.fillRect(client.adjusted(2, 2, -2, -2), isEnabled() ? window : face);
    painter.fillRect(QRect(0, 0, CParamTree::kMargin, height()), window);

    painter.save();
    painter.setClipRect(client);
    for (int i = 0; i < m_rows.size(); ++i) {
        CParamTreeItem* item = m_rows[i];
        if (item->Top() + item->Height() > 0 && item->Top() < height())
            paintRow(painter, item, m_levels[i]);
    }
    painter.restore();

    painter.setPen(QColor(kMarginLine));
    painter.drawLine(CParamTree::kMargin, 0, CParamTree::kMargin, height() - 1);
    qDrawWinPanel(&painter, client, colours, true);
    if (m_dragging) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(QRect(m_dragX - 2, 0, 4, height()), QBrush(Qt::white, Qt::Dense4Pattern));
    }
}

void CParamTreeList::paintRow(QPainter& painter, CParamTreeItem* item, int level)
{
    const QPalette& colours = palette();
    const int right = ClientWidth();
    const QRect row(CParamTree::kMargin + 1, item->Top(), right - CParamTree::kMargin - 1,
                    item->Height());
    QRect label;
    if (level == 0) {
        const bool own = m_tree->Options() & CParamTree::kTopLevelItemColor;
        painter.fillRect(row, own ? item->BackColor() : colours.color(QPalette::Base));
        painter.setFont(m_tree->BoldFont());
        label = QRect(item->m_x, row.top(), right - item->m_x, row.height());
        label.setWidth(painter.fontMetrics().horizontalAdvance(item->Label()) + 4);
        label.translate(-2, 0);
    } else {
        painter.setFont(m_tree->NormalFont());
        label = QRect(item->m_x - 2, row.top(), m_tree->Divider() - item->m_x + 2, row.height());
        // The divider's own line, so that the user sees what to drag.
        painter.setPen(colours.color(QPalette::Active, QPalette::Button));
        painter.drawLine(m_tree->Divider(), row.top(), m_tree->Divider(), row.bottom());
    }
    QColor text =
        isEnabled() ? item->TextColor() : colours.color(QPalette::Disabled, QPalette::Text);
    if (item->IsSelected()) {
        painter.fillRect(label, colours.color(QPalette::Active, QPalette::Highlight));
        text = colours.color(QPalette::Active, QPalette::HighlightedText);
    }
    painter.setPen(text);
    painter.drawText(label.adjusted(2, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, item->Label());
    if (level > 0)
        item->PaintValue(painter, item->ValueRect());

    if (item->FirstChild()) {
        const QRect box = expandBox(item);
        painter.setPen(colours.color(QPalette::Active, QPalette::Dark));
        painter.fillRect(box, colours.color(QPalette::Base));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(colours.color(QPalette::Active, QPalette::Text));
        const int mid = box.top() + 3;
        painter.drawLine(box.left() + 2, mid, box.right() - 2, mid);
        if (!item->IsExpanded())
            painter.drawLine(box.left() + 3, box.top() + 2, box.left() + 3, box.bottom() - 2);
    }
}

void CParamTreeList::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_tree->PlaceEditors();
}

bool CParamTreeList::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            TabKey(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::event(event);
}

void CParamTreeList::TabKey(bool forward)
{
    CParamTreeItem* focus = m_tree->FocusedItem();
    const int at = m_rows.indexOf(focus);
    const int next = at < 0 ? (forward ? 0 : -1) : at + (forward ? 1 : -1);
    if (next < 0 || next >= m_rows.size()) {
        // No row that way: the focus goes on to the next control.
        focusNextPrevChild(forward);
        return;
    }
    m_tree->SetFocusedItem(m_rows[next]);
    m_tree->ActivateItem(m_rows[next], false);
}

void CParamTreeList::keyPressEvent(QKeyEvent* event)
{
    CParamTreeItem* focus = m_tree->FocusedItem();
    switch (event->key()) {
    case Qt::Key_Home:
        if (!m_rows.isEmpty())
            m_tree->SetFocusedItem(m_rows.first());
        break;
    case Qt::Key_End:
        if (!m_rows.isEmpty())
            m_tree->SetFocusedItem(m_rows.last());
        break;
    case Qt::Key_Up:
        moveFocus(-1);
        break;
    case Qt::Key_Down:
        moveFocus(1);
        break;
    case Qt::Key_Left:
        m_tree->SetExpanded(focus, false);
        break;
    case Qt::Key_Right:
        m_tree->SetExpanded(focus, true);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_tree->ActivateItem(focus, false);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CParamTreeList::moveFocus(int step)
{
    const int at = m_rows.indexOf(m_tree->FocusedItem());
    const int next = at < 0 ? (step < 0 ? m_rows.size() - 1 : 0) : at + step;
    if (next >= 0 && next < m_rows.size())
        m_tree->SetFocusedItem(m_rows[next]);
}

void CParamTreeList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    CParamTreeItem* item = nullptr;
    const int hit = HitTest(event->position().toPoint(), &item);
    m_tree->Notify(CParamTree::kNotifyClick, item);
    setFocus(Qt::MouseFocusReason);
    switch (hit) {
    case CParamTree::kHitDivider:
        if (!m_tree->Notify(CParamTree::kNotifyDividerDrag, item)) {
            m_dragging = true;
            m_dragX = event->position().toPoint().x();
            update();
        }
        break;
    case CParamTree::kHitExpand:
        m_tree->SetExpanded(item, !item->IsExpanded());
        break;
    case CParamTree::kHitValue:
    case CParamTree::kHitLabel:
        m_tree->SetFocusedItem(item);
        if (hit == CParamTree::kHitValue && !item->IsTopLevel())
            m_tree->ActivateItem(item, true);
        break;
    default:
        m_tree->SetFocusedItem(nullptr);
        break;
    }
}

void CParamTreeList::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (m_dragging) {
        m_dragX = at.x();
        update();
        return;
    }
    const bool onDivider = HitTest(at, nullptr) == CParamTree::kHitDivider;
    setCursor(onDivider ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void CParamTreeList::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    m_tree->SetDivider(event->position().toPoint().x());
}

void CParamTreeList::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    CParamTreeItem* item = nullptr;
    const int hit = HitTest(event->position().toPoint(), &item);
    m_tree->Notify(CParamTree::kNotifyDoubleClick, item);
    if (hit == CParamTree::kHitDivider) {
        m_tree->FitDivider();
    } else if (item && item->FirstChild() &&
               !(hit == CParamTree::kHitValue && !item->IsTopLevel())) {
        m_tree->SetFocusedItem(item);
        m_tree->SetExpanded(item, !item->IsExpanded());
    }
}

void CParamTreeList::wheelEvent(QWheelEvent* event)
{
    QCoreApplication::sendEvent(m_scroll, event);
}

void CParamTreeList::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    AnnounceFocus();
    update();
}

void CParamTreeList::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

QAccessibleInterface* CParamTreeList::AccessibleItem(CParamTreeItem* item)
{
    if (!item)
        return nullptr;
    if (const QAccessible::Id id = m_accessible.value(item->Id()))
        return QAccessible::accessibleInterface(id);
    auto* made = new CParamTreeItemAccessible(this, item->Id());
    m_accessible.insert(item->Id(), QAccessible::registerAccessibleInterface(made));
    return made;
}

void CParamTreeList::ForgetAccessible(CParamTreeItem* item)
{
    if (const QAccessible::Id id = m_accessible.take(item->Id()))
        QAccessible::deleteAccessibleInterface(id);
}

CParamTreeItem* CParamTreeList::ItemById(int id) const
{
    CParamTreeItem* found = nullptr;
    m_tree->ForEachItem(nullptr, [&](CParamTreeItem* item) {
        if (item->Id() == id)
            found = item;
    });
    return found;
}

void CParamTreeList::AnnounceFocus()
{
    const int row = m_rows.indexOf(m_tree->FocusedItem());
    if (!QAccessible::isActive() || !hasFocus() || row < 0)
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(row);
    QAccessible::updateAccessibility(&focus);
}

void CParamTreeList::AnnounceValue(CParamTreeItem* item, const QString& before)
{
    QAccessibleInterface* row = AccessibleItem(item);
    if (!QAccessible::isActive() || !row)
        return;
    const QString now = item->ValueText();
    QAccessibleValueChangeEvent value(row, now);
    QAccessible::updateAccessibility(&value);
    QAccessibleTextUpdateEvent text(row, 0, before, now);
    QAccessible::updateAccessibility(&text);
}
