#include "CXHeaderCtrl.h"

#include "CCellListModel.h"
#include "TransparentColor.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

CXHeaderCtrl::CXHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    m_colors = SystemColors::fromPalette(palette());
    setSectionsClickable(true);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setStretchLastSection(false);
    setDefaultAlignment(Qt::AlignCenter);
}

void CXHeaderCtrl::setImageList(const QPixmap& strip, int imageWidth, const QColor& transparent)
{
    m_images.clear();
    m_imageSize = QSize();
    if (strip.isNull() || imageWidth <= 0) {
        viewport()->update();
        return;
    }
    const QPixmap keyed = withTransparentColor(strip, transparent);
    for (int x = 0; x + imageWidth <= keyed.width(); x += imageWidth)
        m_images << keyed.copy(x, 0, imageWidth, keyed.height());
    if (!m_images.isEmpty())
        m_imageSize = m_images.front().size();
    updateGeometry();
    viewport()->update();
}

void CXHeaderCtrl::clearImageList()
{
    setImageList(QPixmap(), 0, QColor());
}

QSize CXHeaderCtrl::sizeHint() const
{
    QSize hint = QHeaderView::sizeHint();
    const int height = std::max(fontMetrics().height(), m_imageSize.height()) + 6;
    hint.setHeight(height);
    return hint;
}

void CXHeaderCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        m_colors = SystemColors::fromPalette(palette());
    QHeaderView::changeEvent(event);
}

int CXHeaderCtrl::titleWidth(int logical) const
{
    int width = sectionSize(logical) - 2 * kItemMargin;
    const int image =
        model()->headerData(logical, Qt::Horizontal, CCellListModel::HeaderImageRole).toInt();
    if (image >= 0 && image < m_images.size())
        width -= m_images[image].width();
    return width;
}

bool CXHeaderCtrl::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !model())
        return QHeaderView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int logical = logicalIndexAt(help->pos());
    const QString title =
        logical >= 0 ? model()->headerData(logical, Qt::Horizontal).toString() : QString();
    if (!title.isEmpty() && fontMetrics().horizontalAdvance(title) > titleWidth(logical)) {
        QToolTip::showText(help->globalPos(), title, viewport());
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void CXHeaderCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    painter.fillRect(area, backgroundColor());
    if (!model() || count() == 0)
        return;

    int coveredRight = 0;
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical))
            continue;
        const int x = sectionViewportPosition(logical);
        const int width = sectionSize(logical);
        const QRect item(x, 0, width, area.height());
        coveredRight = std::max(coveredRight, x + width);
        if (!item.intersects(area))
            continue;

        QRect inner = item.adjusted(kItemMargin, 0, -kItemMargin, 0);
        painter.save();
        painter.setClipRect(item);
        const int image =
            model()->headerData(logical, Qt::Horizontal, CCellListModel::HeaderImageRole).toInt();
        if (image >= 0 && image < m_images.size()) {
            const QPixmap& picture = m_images[image];
            const int top = item.top() + (item.height() - picture.height()) / 2;
            painter.drawPixmap(inner.left(), top, picture);
            inner.setLeft(inner.left() + picture.width());
        }
        const QString title = model()->headerData(logical, Qt::Horizontal).toString();
        if (!title.isEmpty() && inner.width() > 0) {
            painter.setPen(m_colors.buttonText);
            painter.setFont(font());
            const QString shown = fontMetrics().elidedText(title, Qt::ElideRight, inner.width());
            painter.drawText(inner, int(Qt::AlignCenter | Qt::TextSingleLine), shown);
        }
        painter.restore();

        // A separator pair between items.
        const int right = x + width;
        painter.fillRect(right - 1, item.top() + 2, 1, item.height() - 4, m_colors.buttonShadow);
        painter.fillRect(right, item.top() + 2, 1, item.height() - 4, m_colors.buttonHighlight);
    }

    // A raised frame around the items.
    const int L = 0;
    const int T = 0;
    const int R = coveredRight;
    const int B = area.height();
    painter.fillRect(L, T, R - L - 1, 1, m_colors.buttonHighlight);
    painter.fillRect(L, T, 1, B - T - 1, m_colors.buttonHighlight);
    painter.fillRect(L, B - 1, R - L, 1, m_colors.buttonShadow);
    painter.fillRect(R - 1, T, 1, B - T, m_colors.buttonShadow);
}
