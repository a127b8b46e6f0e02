#pragma once

#include <QAccessible>
#include <QAccessibleInterface>
#include <QPointer>

class CParamTreeItem;
class CParamTreeList;

// One row of a CParamTree for assistive tools: its kind as role, its label as name, its value
// as value and as its (read-only) text, its help text as description. Refers to the item by
// id, so it goes invalid, never dangling, once the item is destroyed. Owned by Qt's
// accessibility cache.
class CParamTreeItemAccessible : public QAccessibleInterface, public QAccessibleTextInterface
{
public:
    // Stands for the item numbered `itemId` of `pane`'s tree.
    CParamTreeItemAccessible(CParamTreeList* pane, int itemId);

    // A leaf without an object of its own; false once the item is gone.
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

    // The value as text, so that screen readers read it with the label.
    void* interface_cast(QAccessible::InterfaceType type) override;
    void selection(int, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override;

    // The id of the item it stands for.
    int itemId() const { return m_itemId; }

private:
    CParamTreeItem* item() const;

    QPointer<CParamTreeList> m_pane;
    int m_itemId;
};
