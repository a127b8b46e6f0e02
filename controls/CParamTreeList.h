#pragma once

#include <QAccessible>
#include <QHash>
#include <QList>
#include <QWidget>

class CParamTree;
class CParamTreeItem;
class QScrollBar;

// The list pane of a CParamTree: paints the rows, hit-tests, and turns mouse, wheel and keys
// into the tree's operations. Scrolls vertically with its own scroll bar.
// Threads: UI thread only; owned by its CParamTree.
class CParamTreeList : public QWidget
{
    Q_OBJECT
public:
    explicit CParamTreeList(CParamTree* tree);
    ~CParamTreeList() override;

    // Recomputes the visible rows, their positions and value columns, and the scroll range.
    void Relayout();
    // The rows on screen in order (expanded subtrees only), scrolled rows included.
    const QList<CParamTreeItem*>& Rows() const { return m_rows; }
    // Width without the scroll bar.
    int ClientWidth() const;
    // Scrolls so that `item`'s row is wholly visible.
    void EnsureVisible(CParamTreeItem* item);
    // What lies at `point`, and the item there.
    int HitTest(const QPoint& point, CParamTreeItem** item) const;
    QScrollBar* ScrollBar() const { return m_scroll; }
    bool IsDragging() const { return m_dragging; }
    // Tab (forward) or Shift+Tab: moves to the next or previous row and opens its editor, or
    // passes the focus on out of the control where no row follows.
    void TabKey(bool forward);

    // The accessibility interface of `item` (made once, kept until the item goes).
    QAccessibleInterface* AccessibleItem(CParamTreeItem* item);
    // Drops the accessibility interface of an item about to be destroyed.
    void ForgetAccessible(CParamTreeItem* item);
    // The item with sequence number `id`, null when it is gone.
    CParamTreeItem* ItemById(int id) const;
    // Tells assistive tools that the focused row changed.
    void AnnounceFocus();
    // Tells assistive tools that `item`'s value changed from `before`.
    void AnnounceValue(CParamTreeItem* item, const QString& before);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void paintRow(QPainter& painter, CParamTreeItem* item, int level);
    void moveFocus(int step);

    CParamTree* m_tree;
    QScrollBar* m_scroll;
    QList<CParamTreeItem*> m_rows;
    QList<int> m_levels; // nesting level of each row, 0 for top level
    bool m_dragging = false;
    int m_dragX = 0;
    QHash<int, QAccessible::Id> m_accessible; // item id -> registered interface
};
