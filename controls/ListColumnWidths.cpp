#include "ListColumnWidths.h"

#include "CCellListModel.h"
#include "ListCellInfo.h"

#include <QHeaderView>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kCellPadding = 8;    // the delegate's 4 pixels on either side
constexpr int kHeaderPadding = 32; // the header's margins, its 16-pixel image, and rounding

} // namespace

ListColumnWidths::ListColumnWidths(QWidget* list, QHeaderView* header, const CCellListModel* model)
    : QObject(list), m_list(list), m_header(header), m_model(model)
{
    connect(m_header, &QHeaderView::sectionResized, this,
            [this](int column, int oldSize, int size) { onSectionResized(column, oldSize, size); });
}

void ListColumnWidths::setStretchColumn(int column, int laidOutWidth)
{
    m_stretch = column >= 0 && column < m_header->count() ? column : -1;
    m_laidOut = laidOutWidth;
    m_own.clear();
    int total = 0;
    for (int c = 0; c < m_header->count(); ++c) {
        m_own.insert(c, m_header->sectionSize(c));
        total += m_header->sectionSize(c);
    }
    m_stretchBase = m_stretch >= 0 ? m_header->sectionSize(m_stretch) : 0;
    m_slack = laidOutWidth - total;
    apply();
}

void ListColumnWidths::setFitColumns(const QList<int>& columns)
{
    m_fit = columns;
    apply();
}

QList<int> ListColumnWidths::widths() const
{
    QList<int> widths;
    for (int c = 0; c < m_header->count(); ++c)
        widths << (c == m_stretch ? m_stretchBase : m_own.value(c, m_header->sectionSize(c)));
    return widths;
}

void ListColumnWidths::setWidths(const QList<int>& widths)
{
    if (widths.size() != m_header->count())
        return;
    for (int c = 0; c < widths.size(); ++c) {
        const int width = std::max(m_header->minimumSectionSize(), widths[c]);
        if (c == m_stretch)
            m_stretchBase = width;
        else
            m_own.insert(c, width);
    }
    apply();
}

void ListColumnWidths::columnDeleted(int column)
{
    if (column == m_stretch)
        m_stretch = -1;
    else if (column < m_stretch)
        --m_stretch;
    m_own.clear();
}

void ListColumnWidths::apply()
{
    if (m_stretch < 0)
        return;
    m_applying = true;
    int others = 0;
    for (int c = 0; c < m_header->count(); ++c)
        if (c != m_stretch)
            others += m_own.value(c, m_header->sectionSize(c));
    // What the list has beyond the stretch column's own width.
    int room = m_list->width() - m_slack - others - m_stretchBase;
    for (int c = 0; c < m_header->count(); ++c) {
        if (c == m_stretch)
            continue;
        const int own = m_own.value(c, m_header->sectionSize(c));
        int width = own;
        if (m_fit.contains(c) && room > 0) {
            const int grow = std::clamp(neededWidth(c) - own, 0, room);
            width += grow;
            room -= grow;
        }
        if (m_header->sectionSize(c) != width)
            m_header->resizeSection(c, width);
    }
    m_header->resizeSection(m_stretch,
                            std::max(m_header->minimumSectionSize(), m_stretchBase + room));
    m_applying = false;
}

void ListColumnWidths::onSectionResized(int column, int oldSize, int size)
{
    if (m_applying || m_stretch < 0)
        return;
    // A drag of the stretch column moves the width it keeps; of another, sets that column's.
    if (column == m_stretch)
        m_stretchBase += size - oldSize;
    else
        m_own.insert(column, size);
    emit userResized();
    apply();
}

int ListColumnWidths::neededWidth(int column) const
{
    const QString title = m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    int widest = m_header->fontMetrics().horizontalAdvance(title) + kHeaderPadding;
    const QFontMetrics plain = m_list->fontMetrics();
    QFont boldFont = m_list->font();
    boldFont.setWeight(QFont::Bold);
    const QFontMetrics bold(boldFont);
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const ListCellInfo* cell = m_model->cell(row, column);
        if (!cell)
            continue;
        const QString text = m_model->text(row, column);
        widest =
            std::max(widest, (cell->bold ? bold : plain).horizontalAdvance(text) + kCellPadding);
    }
    return widest;
}
