#include "CParamTreeCombo.h"

#include "CParamTree.h"

#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

CParamTreeCombo::~CParamTreeCombo()
{
    destroyEditor();
}

int CParamTreeCombo::CreateCombo(int style)
{
    QWidget* pane = ListPane();
    if (!pane || m_combo)
        return 0;
    m_combo = new QComboBox(pane);
    m_combo->setEditable(style == kDropDown);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setFrame(false);
    m_combo->setFont(Tree()->NormalFont());
    m_combo->setMaxVisibleItems(qMax(1, kDropDownHeight / Height()));
    WatchEditor(m_combo);
    // The typing box of an editable list has the keys: Tab must reach the tree from there too.
    if (QLineEdit* line = m_combo->lineEdit())
        WatchEditor(line);
    PlaceEditor();
    m_combo->hide();
    return 1;
}

int CParamTreeCombo::SelectString(const QString& text)
{
    if (!m_combo)
        return -1;
    int found = -1;
    const int count = m_combo->count();
    if (!text.isEmpty()) {
        // An exact entry wins, so "32" never turns into "320".
        for (int i = 0; i < count && found < 0; ++i) {
            if (m_combo->itemText(i).compare(text, Qt::CaseInsensitive) == 0)
                found = i;
        }
        for (int step = 1; step <= count && found < 0; ++step) {
            const int i = step % count;
            if (m_combo->itemText(i).startsWith(text, Qt::CaseInsensitive))
                found = i;
        }
    }
    m_combo->setCurrentIndex(found);
    if (Tree())
        ListPane()->update();
    return found;
}

void CParamTreeCombo::SetText(const QString& text)
{
    if (!m_combo)
        return;
    if (m_combo->isEditable())
        m_combo->setEditText(text);
    else
        m_combo->setCurrentIndex(m_combo->findText(text, Qt::MatchFixedString));
    if (Tree())
        ListPane()->update();
}

QString CParamTreeCombo::ValueText() const
{
    return m_combo ? m_combo->currentText() : QString();
}

QWidget* CParamTreeCombo::EditorWidget() const
{
    return m_combo;
}

void CParamTreeCombo::PaintValue(QPainter& painter, const QRect& rect)
{
    if (m_combo)
        PaintValueText(painter, rect, ValueText(), true);
}

void CParamTreeCombo::ShowEditor()
{
    if (QLineEdit* line = m_combo ? m_combo->lineEdit() : nullptr)
        line->setCursorPosition(0); // the start of a long value shows, as in the edit box
    CParamTreeItem::ShowEditor();
}

void CParamTreeCombo::DestroyEditor()
{
    destroyEditor();
}

void CParamTreeCombo::EndEdit()
{
    const QValidator* validator = m_combo && m_combo->isEditable() ? m_combo->validator() : nullptr;
    QString text = validator ? m_combo->currentText() : QString();
    int pos = 0;
    if (validator && validator->validate(text, pos) != QValidator::Acceptable)
        CancelEdit();
}

void CParamTreeCombo::CancelEdit()
{
    if (m_combo && m_combo->isEditable())
        m_combo->setEditText(OpenedWith());
    else if (m_combo)
        m_combo->setCurrentIndex(m_combo->findText(OpenedWith(), Qt::MatchFixedString));
}

void CParamTreeCombo::destroyEditor()
{
    if (!m_combo)
        return;
    if (QLineEdit* line = m_combo->lineEdit())
        ForgetEditor(line);
    ForgetEditor(m_combo);
    delete m_combo.data();
}
