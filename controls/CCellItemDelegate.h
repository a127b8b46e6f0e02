#pragma once

#include "SystemColors.h"

#include <QStyledItemDelegate>

struct CellPaint;

// Draws every cell of CCellListCtrl from the CellPaint value the model gives: plain text,
// a check box, or a progress bar with its percentage. Threads: UI thread only.
class CCellItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit CCellItemDelegate(QObject* parent = nullptr);

    // The cached system colours; the list sets them at construction and on palette changes.
    void setColors(const SystemColors& colors) { m_colors = colors; }
    const SystemColors& colors() const { return m_colors; }
    // Whether a selection stays visible (in the desktop's inactive highlight) without the focus.
    void setShowSelectionAlways(bool on) { m_showSelAlways = on; }

    // Draws one cell.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // A text cell cut short shows its whole text as tooltip (unless it has a tooltip of its
    // own).
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
    // The text a progress bar of `width` pixels shows in `font`: the percentage and as many of
    // the figures after it as fit whole.
    static QString progressLine(const CellPaint& paint, const QFont& font, int width);
    // True when a text cell's text fits `cell` unshortened.
    static bool textFits(const QRect& cell, const CellPaint& paint, const QFont& font);
    // Row height: the font's height with a small margin.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Geometry of the check box in a cell (also used by tests): side = height - 1, at the top;
    // centred without text, 9 pixels in with text. The returned box is before the 1-pixel
    // shift of its left edge.
    static QRect checkBoxRect(const QRect& cell, bool hasText);

private:
    void drawText(QPainter* painter, const QRect& rect, const CellPaint& cell, const QColor& text,
                  const QColor& back, const QFont& font) const;
    void drawProgress(QPainter* painter, const QRect& rect, const CellPaint& cell,
                      const QColor& text, const QColor& back, const QFont& font) const;
    void drawCheckBox(QPainter* painter, const QRect& rect, const CellPaint& cell,
                      const QColor& text, const QColor& back, const QFont& font) const;

    SystemColors m_colors;
    bool m_showSelAlways = true;
};
