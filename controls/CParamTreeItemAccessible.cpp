#include "CParamTreeItemAccessible.h"

#include "CParamTree.h"
#include "CParamTreeList.h"

#include <QWidget>
#include <QWindow>

CParamTreeItemAccessible::CParamTreeItemAccessible(CParamTreeList* pane, int itemId)
    : m_pane(pane), m_itemId(itemId)
{
}

CParamTreeItem* CParamTreeItemAccessible::item() const
{
    return m_pane ? m_pane->ItemById(m_itemId) : nullptr;
}

bool CParamTreeItemAccessible::isValid() const
{
    return item() != nullptr;
}

QWindow* CParamTreeItemAccessible::window() const
{
    return m_pane ? m_pane->window()->windowHandle() : nullptr;
}

QAccessibleInterface* CParamTreeItemAccessible::parent() const
{
    return m_pane ? QAccessible::queryAccessibleInterface(m_pane.data()) : nullptr;
}

QString CParamTreeItemAccessible::text(QAccessible::Text kind) const
{
    CParamTreeItem* row = item();
    if (!row)
        return QString();
    switch (kind) {
    case QAccessible::Name:
        return row->Label();
    case QAccessible::Value:
        return row->ValueText();
    case QAccessible::Description:
        return row->HelpText();
    default:
        return QString();
    }
}

QRect CParamTreeItemAccessible::rect() const
{
    CParamTreeItem* row = item();
    if (!row || !m_pane->Rows().contains(row))
        return QRect();
    const QPoint origin = m_pane->mapToGlobal(QPoint(0, row->Top()));
    return QRect(origin, QSize(m_pane->ClientWidth(), row->Height()));
}

QAccessible::Role CParamTreeItemAccessible::role() const
{
    CParamTreeItem* row = item();
    switch (row ? row->GetType() : CParamTreeItem::kPlain) {
    case CParamTreeItem::kEdit:
        return QAccessible::EditableText;
    case CParamTreeItem::kCombo:
        return QAccessible::ComboBox;
    default:
        return QAccessible::TreeItem;
    }
}

QAccessible::State CParamTreeItemAccessible::state() const
{
    QAccessible::State state;
    CParamTreeItem* row = item();
    if (!row) {
        state.invalid = true;
        return state;
    }
    const CParamTree* tree = row->Tree();
    state.focusable = true;
    state.selectable = true;
    state.selected = row->IsSelected();
    state.focused = tree->FocusedItem() == row && m_pane->hasFocus();
    state.readOnly = row->IsReadOnly();
    state.disabled = !tree->isEnabled();
    state.invisible = !m_pane->Rows().contains(row);
    if (row->FirstChild()) {
        state.expandable = true;
        state.expanded = row->IsExpanded();
        state.collapsed = !row->IsExpanded();
    }
    return state;
}

void* CParamTreeItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return nullptr;
}

void CParamTreeItemAccessible::selection(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
}

QString CParamTreeItemAccessible::text(int startOffset, int endOffset) const
{
    const QString value = text(QAccessible::Value);
    if (startOffset < 0 || endOffset < startOffset)
        return QString();
    return value.mid(startOffset, endOffset - startOffset);
}

int CParamTreeItemAccessible::characterCount() const
{
    return int(text(QAccessible::Value).size());
}

QString CParamTreeItemAccessible::attributes(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}
