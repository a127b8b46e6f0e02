#pragma once

#include "CParamTreeItem.h"

#include <QPointer>

// A tree item whose value is free text, edited in a single-line edit box (or a multi-line one)
// shown over the value column while the item is active. Threads: UI thread only.
class CParamTreeEdit : public CParamTreeItem
{
public:
    // CreateEdit options.
    enum : unsigned
    {
        kDigits = 0x200,      // only digits can be typed
        kPassword = 0x400,    // shown as asterisks
        kMultiLine = 0x40000, // several lines, row height kMultiLineHeight
    };
    static constexpr int kMultiLineHeight = 75;

    CParamTreeEdit() : CParamTreeItem(kEdit) {}
    ~CParamTreeEdit() override;

    // Creates the hidden edit window in the tree's list pane; 1 on success, 0 when the item is
    // not in a tree or the window exists already.
    int CreateEdit(unsigned options);
    // Sets the text (nothing without an edit window).
    void SetText(const QString& text);

    void PaintValue(QPainter& painter, const QRect& rect) override;
    void ShowEditor() override;
    void EndEdit() override;
    void DestroyEditor() override;
    void CancelEdit() override;
    QString ValueText() const override;
    QWidget* EditorWidget() const override { return m_editor; }

private:
    void destroyEditor();

    QPointer<QWidget> m_editor; // a QLineEdit, or a QPlainTextEdit when multi-line
    unsigned m_options = 0;
};
