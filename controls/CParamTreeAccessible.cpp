#include "CParamTreeAccessible.h"

#include "CParamTree.h"
#include "CParamTreeItemAccessible.h"
#include "CParamTreeList.h"

CParamTreeAccessible::CParamTreeAccessible(CParamTreeList* pane)
    : QAccessibleWidget(pane, QAccessible::Tree)
{
}

CParamTreeList* CParamTreeAccessible::pane() const
{
    return static_cast<CParamTreeList*>(widget());
}

int CParamTreeAccessible::childCount() const
{
    return pane()->Rows().size();
}

QAccessibleInterface* CParamTreeAccessible::child(int index) const
{
    const auto& rows = pane()->Rows();
    if (index < 0 || index >= rows.size())
        return nullptr;
    return pane()->AccessibleItem(rows[index]);
}

int CParamTreeAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* row = dynamic_cast<const CParamTreeItemAccessible*>(child);
    if (!row)
        return -1;
    const auto& rows = pane()->Rows();
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i]->Id() == row->itemId())
            return i;
    }
    return -1;
}

QAccessibleInterface* CParamTreeAccessible::childAt(int x, int y) const
{
    CParamTreeItem* item = nullptr;
    pane()->HitTest(pane()->mapFromGlobal(QPoint(x, y)), &item);
    return pane()->AccessibleItem(item);
}

QAccessibleInterface* CParamTreeAccessible::focusChild() const
{
    auto* tree = static_cast<CParamTree*>(pane()->parentWidget());
    if (!pane()->Rows().contains(tree->FocusedItem()))
        return nullptr;
    return pane()->AccessibleItem(tree->FocusedItem());
}

QString CParamTreeAccessible::text(QAccessible::Text kind) const
{
    QString own = QAccessibleWidget::text(kind);
    if (own.isEmpty() && (kind == QAccessible::Name || kind == QAccessible::Description)) {
        const QWidget* tree = pane()->parentWidget();
        own = kind == QAccessible::Name ? tree->accessibleName() : tree->accessibleDescription();
    }
    return own;
}
