#pragma once

#include <QAccessibleWidget>

class CParamTreeList;

// What assistive tools see of a CParamTree's list pane: a tree whose children are the rows on
// screen. Owned by Qt's accessibility cache; lives as long as the pane.
class CParamTreeAccessible : public QAccessibleWidget
{
public:
    explicit CParamTreeAccessible(CParamTreeList* pane);

    // The rows on screen as children, in order; the focused row as focus child.
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    // The pane's name is the control's (its own, or the tree's when it has none).
    QString text(QAccessible::Text kind) const override;

private:
    CParamTreeList* pane() const;
};
