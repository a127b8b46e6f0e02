#include "CParamTree.h"

#include "CParamTreeInfo.h"
#include "CParamTreeList.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>

CParamTree::CParamTree(unsigned options, int id, QWidget* parent)
    : QWidget(parent), m_options(options & ~kNotify), m_id(id),
      m_root(std::make_unique<CParamTreeItem>())
{
    m_root->m_tree = this;
    m_root->m_expanded = true;
    m_normalFont = font();
    m_boldFont = m_normalFont;
    m_boldFont.setBold(true);
    setCursor(Qt::ArrowCursor);
    m_list = new CParamTreeList(this);
    m_info = new CParamTreeInfo(this);
    setFocusProxy(m_list);
    layoutPanes();
}

CParamTree::~CParamTree()
{
    // Items and their editor windows go before the panes they live in.
    m_notifyTarget = nullptr;
    m_focus = nullptr;
    while (CParamTreeItem* child = m_root->m_firstChild) {
        m_root->m_firstChild = child->m_nextSibling;
        destroyItem(child);
    }
}

void CParamTree::SetNotifyTarget(bool on, QObject* target)
{
    if (on)
        m_options |= kNotify;
    else
        m_options &= ~kNotify;
    m_notifyTarget = on ? target : nullptr;
    layoutPanes();
}

bool CParamTree::Notify(int code, CParamTreeItem* item)
{
    if (!(m_options & kNotify) || !m_notifyTarget)
        return false;
    bool cancel = false;
    emit notify(code, item, &cancel);
    return cancel;
}

CParamTreeItem* CParamTree::InsertItem(CParamTreeItem* item, CParamTreeItem* parent)
{
    if (!item || item->m_tree)
        return item;
    if (!parent)
        parent = m_root.get();
    item->m_tree = this;
    item->m_parent = parent;
    item->m_id = ++m_nextId;
    CParamTreeItem** last = &parent->m_firstChild;
    while (*last)
        last = &(*last)->m_nextSibling;
    *last = item;
    Notify(kNotifyInsertItem, item);
    m_list->Relayout();
    m_list->update();
    return item;
}

void CParamTree::DeleteAllItems()
{
    // Editing ends first; the keyboard stays in the control when the focused editor goes.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus != m_list && isAncestorOf(focus))
        m_list->setFocus(Qt::OtherFocusReason);
    Notify(kNotifyDeleteItem, nullptr);
    m_focus = nullptr;
    while (CParamTreeItem* child = m_root->m_firstChild) {
        m_root->m_firstChild = child->m_nextSibling;
        destroyItem(child);
    }
    m_list->ScrollBar()->setValue(0);
    PlaceEditors();
    m_info->update();
}

void CParamTree::destroyItem(CParamTreeItem* item)
{
    while (CParamTreeItem* child = item->m_firstChild) {
        item->m_firstChild = child->m_nextSibling;
        destroyItem(child);
    }
    m_list->ForgetAccessible(item);
    item->DestroyEditor();
    delete item;
}

void CParamTree::ForEachItem(CParamTreeItem* start,
                             const std::function<void(CParamTreeItem*)>& visit)
{
    if (!start)
        start = m_root.get();
    for (CParamTreeItem* child = start->m_firstChild; child; child = child->m_nextSibling) {
        visit(child);
        ForEachItem(child, visit);
    }
}

void CParamTree::PlaceEditors(CParamTreeItem* start)
{
    m_list->Relayout();
    if (start)
        start->PlaceEditor();
    ForEachItem(start, [](CParamTreeItem* item) { item->PlaceEditor(); });
    m_list->update();
}

void CParamTree::ExpandAll()
{
    ForEachItem(nullptr, [](CParamTreeItem* item) { item->m_expanded = true; });
    PlaceEditors();
}

void CParamTree::selectOnly(CParamTreeItem* item)
{
    ForEachItem(nullptr, [item](CParamTreeItem* other) {
        if (other->m_selected && other != item) {
            other->m_selected = false;
            other->OnDeselect();
        }
    });
    if (item && !item->m_selected) {
        item->m_selected = true;
        item->OnSelect();
    }
}

void CParamTree::SetFocusedItem(CParamTreeItem* item)
{
    selectOnly(item);
    if (item != m_focus) {
        m_focus = item;
        Notify(kNotifySelChange, item);
        m_list->AnnounceFocus();
    }
    layoutPanes();
    if (item)
        m_list->EnsureVisible(item);
    m_list->update();
    m_info->update();
}

bool CParamTree::SetExpanded(CParamTreeItem* item, bool expanded)
{
    if (!item || !item->m_firstChild || item->m_expanded == expanded)
        return false;
    if (Notify(kNotifyExpanding, item))
        return false;
    item->m_expanded = expanded;
    bool focusHidden = false;
    ForEachItem(item, [&](CParamTreeItem* below) {
        below->OnAncestorExpand(expanded);
        focusHidden = focusHidden || (!expanded && below == m_focus);
    });
    if (focusHidden)
        SetFocusedItem(item); // the keyboard stays on a row that can be seen
    PlaceEditors();
    return true;
}

bool CParamTree::ActivateItem(CParamTreeItem* item, bool byMouse)
{
    if (!item || item->IsTopLevel() || item->IsActive())
        return false;
    if (byMouse && Notify(kNotifyShowEditor, item))
        return false;
    if (item->IsReadOnly() || !item->EditorWidget() || !isEnabled())
        return false;
    item->m_active = true;
    item->m_committed = false;
    item->m_valueAtActivation = item->ValueText();
    item->ShowEditor();
    return true;
}

void CParamTree::EndEditing(CParamTreeItem* item)
{
    if (!item || !item->m_active)
        return;
    item->m_active = false;
    if (!item->m_committed) {
        item->m_committed = true;
        item->EndEdit();
        Notify(kNotifyEndEdit, item);
        if (item->ValueText() != item->m_valueAtActivation)
            m_list->AnnounceValue(item, item->m_valueAtActivation);
    }
    item->RepositionEditor();
    PlaceEditors(item);
}

void CParamTree::SetDivider(int x)
{
    m_dividerMoved = m_dividerMoved || x != m_divider;
    const int widest = m_list->ClientWidth() - 25;
    if (x <= 40)
        x = 41;
    if (x > widest)
        x = widest;
    m_divider = x;
    PlaceEditors();
}

int CParamTree::widestLabel() const
{
    const QFontMetrics metrics(m_normalFont);
    int right = 0;
    for (CParamTreeItem* item : m_list->Rows()) {
        if (!item->IsTopLevel())
            right = qMax(right, item->m_x + metrics.horizontalAdvance(item->m_label));
    }
    return right;
}

void CParamTree::FitDivider()
{
    m_dividerMoved = true;
    m_divider = qMin(widestLabel() + 5, m_list->ClientWidth() - 25);
    PlaceEditors();
}

void CParamTree::PlaceDivider()
{
    constexpr int kValueRoom = 120; // what a value needs beside a whole label
    const int width = m_list->ClientWidth();
    if (m_dividerMoved || width <= 0)
        return;
    m_divider = qMax(width / 2, qMin(widestLabel() + 5, width - kValueRoom));
    PlaceEditors();
}

int CParamTree::HitTest(const QPoint& point, CParamTreeItem** item) const
{
    return m_list->HitTest(point, item);
}

QWidget* CParamTree::ListPane() const
{
    return m_list;
}

QWidget* CParamTree::InfoPane() const
{
    return m_info;
}

void CParamTree::layoutPanes()
{
    const QRect area = rect();
    if (m_options & kShowInfo) {
        // The whole help text, wrapped, as far as half the height allows.
        const int info =
            qMax(kInfoHeight, qMin(m_info->NeededHeight(area.width()), area.height() / 2));
        m_info->setGeometry(0, area.height() - info, area.width(), info);
        m_info->show();
        m_list->setGeometry(0, 0, area.width(), qMax(0, area.height() - info));
    } else {
        m_info->hide();
        m_list->setGeometry(area);
    }
}

void CParamTree::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutPanes();
    PlaceDivider();
    if (m_divider >= 0)
        SetDivider(m_divider);
}

void CParamTree::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_normalFont = font();
        m_boldFont = m_normalFont;
        m_boldFont.setBold(true);
        ForEachItem(nullptr, [this](CParamTreeItem* item) {
            if (QWidget* editor = item->EditorWidget())
                editor->setFont(m_normalFont);
        });
    }
    if (event->type() == QEvent::EnabledChange) {
        ForEachItem(nullptr, [this](CParamTreeItem* item) { EndEditing(item); });
    }
    QWidget::changeEvent(event);
    update();
}

void CParamTree::watchEditor(QWidget* editor, CParamTreeItem* item)
{
    m_editors.insert(editor, item);
    editor->installEventFilter(this);
}

void CParamTree::forgetEditor(QWidget* editor)
{
    editor->removeEventFilter(this);
    m_editors.remove(editor);
}

bool CParamTree::eventFilter(QObject* watched, QEvent* event)
{
    CParamTreeItem* item = m_editors.value(watched);
    if (!item)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        // The combo box's own list takes the focus for a moment; editing goes on.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            EndEditing(item);
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (editorKey(item, key->key(), key->modifiers()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool CParamTree::editorKey(CParamTreeItem* item, int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* editor = item->EditorWidget();
    const auto* combo = qobject_cast<QComboBox*>(editor);
    if (combo && combo->view()->isVisible())
        return false;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (qobject_cast<QPlainTextEdit*>(editor))
            return false; // a multi-line edit takes Return as a new line
        m_list->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Escape:
        item->CancelEdit();
        m_list->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        m_list->setFocus(Qt::TabFocusReason);
        m_list->TabKey(key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
        return true;
    default:
        return false;
    }
}
