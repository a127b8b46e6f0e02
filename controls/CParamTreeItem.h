#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QtGlobal>

class CParamTree;
class QPainter;
class QWidget;

// One row of a CParamTree: a label, an info text and, in the derived kinds, a value editor.
// The tree owns its items from InsertItem on. The plain item serves as a category heading.
// Threads: UI thread only.
class CParamTreeItem
{
public:
    enum Type : int
    {
        kPlain = 1,
        kCombo = 4,
        kEdit = 6,
    };

    CParamTreeItem() = default;
    CParamTreeItem(const CParamTreeItem&) = delete;
    CParamTreeItem& operator=(const CParamTreeItem&) = delete;
    virtual ~CParamTreeItem() = default;

    // Paints the value into `rect` of the list pane; the plain item has none.
    virtual void PaintValue(QPainter& painter, const QRect& rect);
    // Shows the value editor over the value column and gives it the keyboard focus,
    // remembering the value it opened with.
    virtual void ShowEditor();
    // Places the editor again and hides it unless it has the keyboard focus.
    virtual void RepositionEditor();
    // Moves the editor onto the value column; hidden unless active and on screen.
    virtual void PlaceEditor();
    // Editing of this item ended.
    virtual void EndEdit() {}
    // Destroys the editor window; the item stays without a value.
    virtual void DestroyEditor() {}
    // The item lost its selection: its editor hides.
    virtual void OnDeselect();
    // The item became selected.
    virtual void OnSelect() {}
    // An item above this one was expanded (true) or collapsed (false).
    virtual void OnAncestorExpand(bool /*expanded*/) {}

    // Puts back the value the editor opened with (Escape).
    virtual void CancelEdit() {}
    // The value as text (empty for the plain item and for an item without editor).
    virtual QString ValueText() const { return QString(); }
    // The editor window, or null (the plain item, or not created yet).
    virtual QWidget* EditorWidget() const { return nullptr; }

    // Label drawn in the left column and as the info pane's title.
    void SetLabel(const QString& label);
    const QString& Label() const { return m_label; }
    // Text shown under the title in the info pane.
    void SetHelpText(const QString& text);
    const QString& HelpText() const { return m_helpText; }
    // A read-only item shows its value grey and never opens its editor.
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return m_readOnly != 0; }
    // The caller's value (a pointer fits); 0 by default.
    void SetItemData(quintptr value) { m_itemData = value; }
    quintptr GetItemData() const { return m_itemData; }
    // kPlain, kCombo or kEdit.
    int GetType() const { return m_type; }

    // Colours of the row; invalid means the palette's window and button-text colours.
    void SetBackColor(const QColor& colour) { m_backColor = colour; }
    void SetTextColor(const QColor& colour) { m_textColor = colour; }
    QColor BackColor() const;
    QColor TextColor() const;

    // Sequence number given on insertion (0 before).
    int Id() const { return m_id; }
    CParamTree* Tree() const { return m_tree; }
    // Parent item; the tree's invisible root for a top-level item, null for the root.
    CParamTreeItem* Parent() const { return m_parent; }
    CParamTreeItem* NextSibling() const { return m_nextSibling; }
    CParamTreeItem* FirstChild() const { return m_firstChild; }
    // The next row on screen (rebuilt on every layout), null after the last.
    CParamTreeItem* NextVisible() const { return m_nextVisible; }
    // A child of the invisible root.
    bool IsTopLevel() const;
    bool IsSelected() const { return m_selected; }
    bool IsExpanded() const { return m_expanded; }
    // Its value editor is shown.
    bool IsActive() const { return m_active; }
    // Top of the row in list-pane coordinates, and the row's value column there.
    int Top() const { return m_y; }
    int Height() const { return m_height; }
    QRect ValueRect() const { return m_valueRect; }

protected:
    explicit CParamTreeItem(int type) : m_type(type) {}

    // Paints `text` as a value: grey when read-only or the tree is disabled, and not at all
    // while its editor has the keyboard focus (it shows the text itself then).
    void PaintValueText(QPainter& painter, const QRect& rect, const QString& text,
                        bool centred) const;
    // The list pane the editor windows live in.
    QWidget* ListPane() const;
    // Called by the derived kinds when their editor window exists, so the tree sees its keys
    // and focus changes.
    void WatchEditor(QWidget* editor);
    void ForgetEditor(QWidget* editor);
    void setHeight(int height) { m_height = height; }
    // The value when the editor was last shown, for CancelEdit.
    const QString& OpenedWith() const { return m_openedWith; }

private:
    friend class CParamTree;
    friend class CParamTreeList;

    QString m_label;
    QString m_helpText;
    int m_id = 0;
    CParamTreeItem* m_parent = nullptr;
    CParamTreeItem* m_nextSibling = nullptr;
    CParamTreeItem* m_firstChild = nullptr;
    CParamTreeItem* m_nextVisible = nullptr;
    CParamTree* m_tree = nullptr;
    int m_x = 0;
    int m_y = 0;
    QRect m_valueRect;
    int m_height = 18;
    bool m_selected = false;
    bool m_expanded = false;
    bool m_active = false;
    bool m_committed = true;
    QString m_valueAtActivation; // to tell assistive tools when editing changed it
    QString m_openedWith;
    quint32 m_readOnly = 0;
    int m_type = kPlain;
    QColor m_backColor;
    QColor m_textColor;
    quintptr m_itemData = 0;
};
