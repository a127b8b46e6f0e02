#include "CCellItemDelegate.h"

#include "CCellListModel.h"
#include "CellPaint.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

namespace {

const QColor kTrough(224, 224, 224);

// One-pixel lines as a GDI pen draws them: the end point is left out.
void hline(QPainter* p, int x1, int x2, int y, const QColor& c)
{
    if (x2 > x1)
        p->fillRect(x1, y, x2 - x1, 1, c);
}

void vline(QPainter* p, int x, int y1, int y2, const QColor& c)
{
    if (y2 > y1)
        p->fillRect(x, y1, 1, y2 - y1, c);
}

} // namespace

CCellItemDelegate::CCellItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QSize CCellItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), option.fontMetrics.height() + 4);
}

QRect CCellItemDelegate::checkBoxRect(const QRect& cell, bool hasText)
{
    const int side = cell.height() - 1;
    const int left = hasText ? cell.left() + 9 : cell.left() + cell.width() / 2 - side / 2 - 1;
    return QRect(left, cell.top(), side, side);
}

void CCellItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    const CellPaint cell = index.data(CCellListModel::CellPaintRole).value<CellPaint>();
    QColor text = cell.textColor.isValid() ? cell.textColor : m_colors.windowText;
    if (!cell.rowEnabled)
        text = m_colors.greyText;
    QColor back = cell.backColor.isValid() ? cell.backColor : m_colors.window;

    painter->save();
    if (cell.progress) {
        // A converting row keeps its own colours even when selected.
        drawProgress(painter, option.rect, cell, text, back, option.font);
        painter->restore();
        return;
    }
    if (option.state & QStyle::State_Selected) {
        const bool focused = option.widget && option.widget->hasFocus();
        if (focused) {
            text = m_colors.highlightText;
            back = m_colors.highlight;
        } else if (m_showSelAlways) {
            // The row being edited stays marked while the focus is in the editor.
            text = m_colors.inactiveHighlightText;
            back = m_colors.inactiveHighlight;
        }
    }
    if (cell.check != -1)
        drawCheckBox(painter, option.rect, cell, text, back, option.font);
    else
        drawText(painter, option.rect, cell, text, back, option.font);
    painter->restore();
}

void CCellItemDelegate::drawText(QPainter* painter, const QRect& rect, const CellPaint& cell,
                                 const QColor& text, const QColor& back, const QFont& font) const
{
    painter->fillRect(rect, back);
    QFont drawFont = font;
    if (cell.bold)
        drawFont.setWeight(QFont::Bold);
    painter->setFont(drawFont);
    painter->setPen(text);
    const Qt::Alignment horizontal = cell.alignment & Qt::AlignHorizontal_Mask;
    painter->setClipRect(rect);
    // Measured as it is painted: a text that fits the padded area is drawn there, one that fits
    // only the whole cell gives up the padding, and a longer one is shortened at its end, never
    // cut on both sides of a centred text.
    const QFontMetrics metrics = painter->fontMetrics();
    const int width = metrics.horizontalAdvance(cell.text);
    QRect area = rect.adjusted(4, 0, -4, 0);
    QString shown = cell.text;
    if (width > area.width() && width <= rect.width())
        area = rect;
    else if (width > area.width())
        shown = metrics.elidedText(cell.text, Qt::ElideRight, qMax(0, area.width()));
    painter->drawText(area, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), shown);
}

bool CCellItemDelegate::textFits(const QRect& cell, const CellPaint& paint, const QFont& font)
{
    QFont drawFont = font;
    if (paint.bold)
        drawFont.setWeight(QFont::Bold);
    const int width = QFontMetrics(drawFont).horizontalAdvance(paint.text);
    // Where the text lands in the padded area, by its alignment; the cell clips it.
    const QRect area = cell.adjusted(4, 0, -4, 0);
    int left = area.left();
    if (paint.alignment & Qt::AlignHCenter)
        left = area.left() + (area.width() - width) / 2;
    else if (paint.alignment & Qt::AlignRight)
        left = area.right() + 1 - width;
    return left >= cell.left() && left + width <= cell.right() + 1;
}

bool CCellItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                  const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event && event->type() == QEvent::ToolTip && index.isValid() &&
        !index.data(Qt::ToolTipRole).isValid()) {
        const CellPaint cell = index.data(CCellListModel::CellPaintRole).value<CellPaint>();
        if (!cell.progress && cell.check == -1 && !textFits(option.rect, cell, option.font)) {
            QToolTip::showText(event->globalPos(), cell.text, view->viewport(), option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

QString CCellItemDelegate::progressLine(const CellPaint& paint, const QFont& font, int width)
{
    const QFontMetrics metrics(font);
    for (qsizetype shown = paint.progressDetail.size(); shown > 0; --shown) {
        const QString line = (QStringList{paint.progressText} + paint.progressDetail.mid(0, shown))
                                 .join(QStringLiteral(" · "));
        if (metrics.horizontalAdvance(line) <= width)
            return line;
    }
    return paint.progressText;
}

void CCellItemDelegate::drawProgress(QPainter* painter, const QRect& rect, const CellPaint& cell,
                                     const QColor& text, const QColor& back,
                                     const QFont& font) const
{
    painter->fillRect(rect, back);
    // The cell as a GDI rectangle (right and bottom exclusive), shrunk.
    const int L = rect.left() + 1;
    const int T = rect.top();
    const int R = rect.left() + rect.width() - 2;
    const int B = rect.top() + rect.height() - 1;

    const QColor shadow = m_colors.buttonShadow;
    hline(painter, L, R + 1, B, shadow);
    hline(painter, L, R, T, shadow);
    vline(painter, L, T, B, shadow);
    vline(painter, R, T, B, shadow);
    if (R > L + 1 && B > T + 1)
        painter->fillRect(QRect(L + 1, T + 1, R - (L + 1), B - (T + 1)), kTrough);
    hline(painter, L + 1, R, T + 1, Qt::black);
    vline(painter, L + 1, T + 1, B, Qt::black);

    // Callers send 0..100; anything else is held inside the trough.
    const int percent = std::clamp(cell.percent, 0, 100);
    if (percent <= 0)
        return;
    const int barRight = L + 2 + std::max(0, R - (L + 2)) * percent / 100;
    const QRect bar(L + 2, T + 2, barRight - (L + 2), B - (T + 2));
    if (bar.isValid())
        painter->fillRect(bar, m_colors.highlight);
    if (!cell.showProgressText)
        return;

    const QRect textRect(L + 1, T + 2, (R - 1) - (L + 1), (B - 1) - (T + 2));
    const int flags = int(Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine);
    const QString line = progressLine(cell, font, textRect.width());
    painter->setFont(font);
    // Twice: over the bar in the background colour, beyond it in the text colour, so the
    // figures change colour where the bar ends.
    painter->setClipRect(QRect(bar.left(), T, bar.width(), B - T));
    painter->setPen(back);
    painter->drawText(textRect, flags, line);
    painter->setClipRect(QRect(barRight, T, R + 1 - barRight, B - T));
    painter->setPen(text);
    painter->drawText(textRect, flags, line);
    painter->setClipping(false);
}

void CCellItemDelegate::drawCheckBox(QPainter* painter, const QRect& rect, const CellPaint& cell,
                                     const QColor& text, const QColor& back,
                                     const QFont& font) const
{
    painter->fillRect(rect, back);
    const bool hasText = !cell.text.isEmpty();
    QRect box = checkBoxRect(rect, hasText);
    painter->fillRect(box, m_colors.window);
    box.setLeft(box.left() + 1);

    // A sunken edge: outer shadow/highlight, inner dark shadow/light.
    const int L = box.left();
    const int T = box.top();
    const int R = box.left() + box.width();
    const int B = box.top() + box.height();
    hline(painter, L, R, T, m_colors.buttonShadow);
    vline(painter, L, T, B, m_colors.buttonShadow);
    hline(painter, L, R, B - 1, m_colors.buttonHighlight);
    vline(painter, R - 1, T, B, m_colors.buttonHighlight);
    hline(painter, L + 1, R - 1, T + 1, m_colors.darkShadow);
    vline(painter, L + 1, T + 1, B - 1, m_colors.darkShadow);
    hline(painter, L + 1, R - 1, B - 2, m_colors.light);
    vline(painter, R - 2, T + 1, B - 1, m_colors.light);

    if (cell.check == 1) {
        const QColor mark = cell.rowEnabled ? QColor(Qt::black) : m_colors.greyText;
        static const int strokes[][2] = {{9, 3}, {8, 4}, {7, 5}, {6, 6}, {5, 7}, {4, 6}, {3, 5}};
        for (const auto& s : strokes)
            vline(painter, L + s[0], T + s[1], T + s[1] + 3, mark);
    }
    if (hasText) {
        QFont drawFont = font;
        if (cell.bold)
            drawFont.setWeight(QFont::Bold);
        painter->setFont(drawFont);
        painter->setPen(text);
        painter->setClipRect(rect);
        const QRect textRect(R + 4, rect.top(), rect.right() - (R + 4) + 1, rect.height());
        painter->drawText(textRect, int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine),
                          cell.text);
    }
}
