#include "CParamTreeEdit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

#include "CParamTree.h"

CParamTreeEdit::~CParamTreeEdit()
{
    destroyEditor();
}

int CParamTreeEdit::CreateEdit(unsigned options)
{
    QWidget* pane = ListPane();
    if (!pane || m_editor)
        return 0;
    m_options = options;
    if (options & kMultiLine) {
        auto* edit = new QPlainTextEdit(pane);
        edit->setFrameShape(QFrame::NoFrame);
        edit->setTabChangesFocus(true);
        setHeight(kMultiLineHeight);
        m_editor = edit;
    } else {
        auto* edit = new QLineEdit(pane);
        edit->setFrame(false);
        if (options & kPassword)
            edit->setEchoMode(QLineEdit::Password);
        if (options & kDigits)
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
        edit->setCursorPosition(0);
        m_editor = edit;
    }
    m_editor->setFont(Tree()->NormalFont());
    WatchEditor(m_editor);
    PlaceEditor();
    m_editor->hide();
    return 1;
}

void CParamTreeEdit::SetText(const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(m_editor.data())) {
        line->setText(text);
        line->setCursorPosition(0);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(m_editor.data())) {
        multi->setPlainText(text);
    }
    if (Tree())
        ListPane()->update();
}

QString CParamTreeEdit::ValueText() const
{
    if (auto* line = qobject_cast<QLineEdit*>(m_editor.data()))
        return line->text();
    if (auto* multi = qobject_cast<QPlainTextEdit*>(m_editor.data()))
        return multi->toPlainText();
    return QString();
}

void CParamTreeEdit::PaintValue(QPainter& painter, const QRect& rect)
{
    if (!m_editor)
        return;
    QString text = ValueText();
    if (m_options & kPassword)
        text = QString(text.size(), QLatin1Char('*'));
    PaintValueText(painter, rect, text, !(m_options & kMultiLine));
}

void CParamTreeEdit::ShowEditor()
{
    if (auto* line = qobject_cast<QLineEdit*>(m_editor.data()))
        line->setCursorPosition(0);
    CParamTreeItem::ShowEditor();
}

void CParamTreeEdit::EndEdit()
{
    if (m_editor)
        m_editor->hide();
}

void CParamTreeEdit::DestroyEditor()
{
    destroyEditor();
}

void CParamTreeEdit::CancelEdit()
{
    SetText(OpenedWith());
}

void CParamTreeEdit::destroyEditor()
{
    if (!m_editor)
        return;
    ForgetEditor(m_editor);
    delete m_editor.data();
}
