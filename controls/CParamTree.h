#pragma once

#include "CParamTreeItem.h"

#include <QFont>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class CParamTreeInfo;
class CParamTreeList;

// An owner-drawn property list: labelled items in a left column, each item's value right of a
// movable divider, and an info pane with the focused item's label and help text. It knows
// items, not what they stand for; callers read values from the items' editors.
// Threads: UI thread only; it owns its items, their editor windows and its two panes.
class CParamTree : public QWidget
{
    Q_OBJECT
public:
    // Control options.
    enum : unsigned
    {
        kShowInfo = 0x1,          // the info pane is shown
        kNotify = 0x2,            // notifications are sent (SetNotifyTarget sets it)
        kInfoPlaceholder = 0x4,   // with no focused item the info pane says how to get one
        kTopLevelItemColor = 0x10 // top-level rows take the item's own background colour
    };
    // Notification codes of the notify signal.
    enum : int
    {
        kNotifyClick = -2,
        kNotifyDoubleClick = -3,
        kNotifyInsertItem = -1101,
        kNotifyDeleteItem = -1102,
        kNotifyEndEdit = -1105,
        kNotifySelChange = -1107,
        kNotifyExpanding = -1108,   // cancellable
        kNotifyDividerDrag = -1109, // cancellable
        kNotifyShowEditor = -1110,  // cancellable
    };
    // Hit-test results in the list pane.
    enum : int
    {
        kHitNothing = 0,
        kHitDivider = 2025,
        kHitExpand = 2026,
        kHitValue = 2027,
        kHitLabel = 2028,
    };
    static constexpr int kInfoHeight = 50;
    static constexpr int kMargin = 16;

    // Creates the control with its list and info panes; `id` identifies it to its owner.
    CParamTree(unsigned options, int id, QWidget* parent = nullptr);
    ~CParamTree() override;

    int ControlId() const { return m_id; }
    unsigned Options() const { return m_options; }
    // Turns notifications on (to `target`, which must stay alive for them to be sent) or off.
    void SetNotifyTarget(bool on, QObject* target);

    // Takes ownership of `item` and appends it to `parent`'s children (top level for none).
    CParamTreeItem* InsertItem(CParamTreeItem* item, CParamTreeItem* parent = nullptr);
    // Destroys every item with its editor and clears the focus.
    void DeleteAllItems();
    // Calls `visit` for every item below `start` (the whole tree for none), parents first.
    void ForEachItem(CParamTreeItem* start, const std::function<void(CParamTreeItem*)>& visit);
    // Lays the rows out again, places every editor below `start` (all for none), repaints.
    void PlaceEditors(CParamTreeItem* start = nullptr);
    // Marks every item expanded and repaints.
    void ExpandAll();

    // The invisible item that holds the top-level items.
    CParamTreeItem* Root() const { return m_root.get(); }
    // The item the keyboard acts on and the info pane describes; null for none.
    CParamTreeItem* FocusedItem() const { return m_focus; }
    // Selects `item` alone and focuses it (notifying a change); null clears both.
    void SetFocusedItem(CParamTreeItem* item);
    // Expands or collapses an item with children unless the notification is cancelled.
    bool SetExpanded(CParamTreeItem* item, bool expanded);
    // Shows the item's editor unless it is top-level, read-only or without one; a mouse
    // activation may be cancelled through the notification.
    bool ActivateItem(CParamTreeItem* item, bool byMouse);
    // Ends editing of an active item; the value stays in its editor.
    void EndEditing(CParamTreeItem* item);

    // The divider's x in the list pane.
    int Divider() const { return m_divider; }
    // Moves the divider, clamped to 41 .. pane width - 25; relays and repaints.
    void SetDivider(int x);
    // Moves the divider just right of the widest visible label (not past width - 25).
    void FitDivider();
    // Until the user moves the divider: at half the width, or right of the widest label where
    // the pane is wide enough to leave the values their room.
    void PlaceDivider();
    // What lies at `point` of the list pane, and the item there.
    int HitTest(const QPoint& point, CParamTreeItem** item = nullptr) const;

    QWidget* ListPane() const;
    QWidget* InfoPane() const;
    // The fonts of values and help texts, and of top-level labels and the info title.
    const QFont& NormalFont() const { return m_normalFont; }
    const QFont& BoldFont() const { return m_boldFont; }

    // Sends a notification when they are on; true when a slot cancelled it.
    bool Notify(int code, CParamTreeItem* item);

signals:
    // A notification: `code` from the enum above, the item concerned or null; a slot cancels
    // the cancellable ones by setting *cancel.
    void notify(int code, CParamTreeItem* item, bool* cancel);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CParamTreeItem;
    void layoutPanes();
    int widestLabel() const;
    void watchEditor(QWidget* editor, CParamTreeItem* item);
    void forgetEditor(QWidget* editor);
    bool editorKey(CParamTreeItem* item, int key, Qt::KeyboardModifiers modifiers);
    void destroyItem(CParamTreeItem* item);
    void selectOnly(CParamTreeItem* item);

    unsigned m_options;
    int m_id;
    QPointer<QObject> m_notifyTarget;
    std::unique_ptr<CParamTreeItem> m_root;
    CParamTreeItem* m_focus = nullptr;
    int m_nextId = 0;
    int m_divider = -1;          // placed at half the width on the first layout
    bool m_dividerMoved = false; // by the user, who then keeps it where it is
    QFont m_normalFont;
    QFont m_boldFont;
    CParamTreeList* m_list;
    CParamTreeInfo* m_info;
    QHash<QObject*, CParamTreeItem*> m_editors; // editor window -> its item
};
