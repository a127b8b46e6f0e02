#include "CParamTreeItem.h"

#include "CParamTree.h"

#include <QPainter>
#include <QWidget>

void CParamTreeItem::PaintValue(QPainter&, const QRect&) {}

void CParamTreeItem::ShowEditor()
{
    QWidget* editor = EditorWidget();
    if (!editor)
        return;
    m_openedWith = ValueText();
    PlaceEditor();
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
}

void CParamTreeItem::RepositionEditor()
{
    PlaceEditor();
    if (QWidget* editor = EditorWidget(); editor && !editor->hasFocus())
        editor->hide();
}

void CParamTreeItem::PlaceEditor()
{
    QWidget* editor = EditorWidget();
    if (!editor)
        return;
    editor->setGeometry(ValueRect());
    // Shown only while its item is active and its row is on screen.
    if (!IsActive() || ValueRect().isEmpty())
        editor->hide();
}

void CParamTreeItem::OnDeselect()
{
    if (QWidget* editor = EditorWidget())
        editor->hide();
}

void CParamTreeItem::SetLabel(const QString& label)
{
    m_label = label;
    if (QWidget* editor = EditorWidget())
        editor->setAccessibleName(label);
    if (m_tree)
        m_tree->update();
}

void CParamTreeItem::SetHelpText(const QString& text)
{
    m_helpText = text;
    if (QWidget* editor = EditorWidget())
        editor->setAccessibleDescription(text);
    if (m_tree)
        m_tree->update();
}

void CParamTreeItem::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly ? 1 : 0;
    if (m_tree)
        m_tree->ListPane()->update();
}

QColor CParamTreeItem::BackColor() const
{
    if (m_backColor.isValid() || !m_tree)
        return m_backColor;
    return m_tree->palette().color(QPalette::Active, QPalette::Base);
}

QColor CParamTreeItem::TextColor() const
{
    if (m_textColor.isValid() || !m_tree)
        return m_textColor;
    return m_tree->palette().color(QPalette::Active, QPalette::ButtonText);
}

bool CParamTreeItem::IsTopLevel() const
{
    return m_parent && !m_parent->m_parent;
}

void CParamTreeItem::PaintValueText(QPainter& painter, const QRect& rect, const QString& text,
                                    bool centred) const
{
    const QWidget* editor = EditorWidget();
    if (!m_tree || (editor && editor->hasFocus()))
        return;
    const bool grey = IsReadOnly() || !m_tree->isEnabled();
    painter.setPen(grey ? m_tree->palette().color(QPalette::Disabled, QPalette::Text)
                        : TextColor());
    painter.setFont(m_tree->NormalFont());
    const int flags = Qt::AlignLeft | (centred ? Qt::AlignVCenter | Qt::TextSingleLine
                                               : Qt::AlignTop | Qt::TextWordWrap);
    painter.drawText(rect, flags, text);
}

QWidget* CParamTreeItem::ListPane() const
{
    return m_tree ? m_tree->ListPane() : nullptr;
}

void CParamTreeItem::WatchEditor(QWidget* editor)
{
    editor->setAccessibleName(m_label);
    editor->setAccessibleDescription(m_helpText);
    if (m_tree)
        m_tree->watchEditor(editor, this);
}

void CParamTreeItem::ForgetEditor(QWidget* editor)
{
    if (m_tree)
        m_tree->forgetEditor(editor);
}
