#include "CParamTreeInfo.h"

#include "CParamTree.h"

#include <QPainter>
#include <qdrawutil.h>

namespace {

constexpr int kInset = 4;

} // namespace

CParamTreeInfo::CParamTreeInfo(CParamTree* tree) : QWidget(tree), m_tree(tree)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString CParamTreeInfo::Title() const
{
    if (const CParamTreeItem* item = m_tree->FocusedItem())
        return item->Label();
    if (m_tree->Options() & CParamTree::kInfoPlaceholder)
        return QStringLiteral("No Item Selected");
    return QString();
}

QString CParamTreeInfo::Text() const
{
    if (const CParamTreeItem* item = m_tree->FocusedItem())
        return item->HelpText();
    if (m_tree->Options() & CParamTree::kInfoPlaceholder)
        return QStringLiteral("Select an item to see its description.");
    return QString();
}

int CParamTreeInfo::NeededHeight(int width) const
{
    const int inner = qMax(1, width - 2 * kInset);
    const int title = QFontMetrics(m_tree->BoldFont()).height();
    const QRect text = QFontMetrics(m_tree->NormalFont())
                           .boundingRect(QRect(0, 0, inner, 1 << 20),
                                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Text());
    return 2 * kInset + title + text.height();
}

void CParamTreeInfo::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), background());
    qDrawWinPanel(&painter, rect(), palette(), true);

    const QRect inside = rect().adjusted(kInset, kInset, -kInset, -kInset);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   isEnabled() ? QPalette::ButtonText : QPalette::Text));
    painter.setFont(m_tree->BoldFont());
    const int titleHeight = painter.fontMetrics().height();
    painter.drawText(inside, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Title());
    painter.setFont(m_tree->NormalFont());
    painter.drawText(inside.adjusted(0, titleHeight, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Text());
}
