#pragma once

#include "CParamTreeItem.h"

#include <QPointer>

class QComboBox;

// A tree item whose value is picked from a list (and, for the drop-down style, may be typed),
// in a combo box shown over the value column while the item is active.
// Threads: UI thread only.
class CParamTreeCombo : public CParamTreeItem
{
public:
    // CreateCombo styles.
    enum : int
    {
        kDropDown = 0x2,     // the text may be typed
        kDropDownList = 0x3, // only the listed choices
    };
    static constexpr int kDropDownHeight = 100;

    CParamTreeCombo() : CParamTreeItem(kCombo) {}
    ~CParamTreeCombo() override;

    // Creates the hidden combo box in the tree's list pane; 1 on success, 0 when the item is
    // not in a tree or the window exists already.
    int CreateCombo(int style);
    // The window part (null before CreateCombo), for adding choices.
    QComboBox* ComboBox() const { return m_combo; }
    // Selects the entry that equals `text` (case ignored), else the first that starts with it,
    // searching from the second entry and wrapping to the first. Returns its index, -1 when
    // none matches or `text` is empty (the selection is then cleared).
    int SelectString(const QString& text);
    // Shows `text`: typed into the drop-down style; the list style shows only listed texts.
    void SetText(const QString& text);

    void PaintValue(QPainter& painter, const QRect& rect) override;
    void ShowEditor() override;
    // A typed value its validator does not accept whole is put back to the one it opened with.
    void EndEdit() override;
    void DestroyEditor() override;
    void CancelEdit() override;
    QString ValueText() const override;
    QWidget* EditorWidget() const override;

private:
    void destroyEditor();

    QPointer<QComboBox> m_combo;
};
