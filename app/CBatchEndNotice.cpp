#include "CBatchEndNotice.h"

#include "CCellListCtrl.h"
#include "CCellListModel.h"
#include "ListCellInfo.h"
#include "Settings.h"

#include <QWidget>

CBatchEndNotice::CBatchEndNotice(QWidget* window, CCellListCtrl* list, int statusColumn)
    : QObject(window), m_window(window), m_list(list), m_column(statusColumn)
{
    // The worker's cell changes arrive here queued, in the order it made them.
    connect(list->cellModel(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                if (!m_counting || m_column < first.column() || m_column > last.column())
                    return;
                for (int row = first.row(); row <= last.row(); ++row) {
                    const ListCellInfo* cell = m_list->cellModel()->cell(row, m_column);
                    if (cell && cell->progress)
                        m_rows.insert(row);
                }
            });
}

void CBatchEndNotice::BatchStarted()
{
    m_rows.clear();
    m_counting = true;
}

QString CBatchEndNotice::Body(int completed, int failed)
{
    return QStringLiteral("%1 completed, %2 failed").arg(completed).arg(failed);
}

bool CBatchEndNotice::BatchEnded()
{
    if (!m_counting)
        return false;
    m_counting = false;
    if (m_window->isActiveWindow())
        return false;
    int completed = 0;
    int failed = 0;
    for (int row : std::as_const(m_rows)) {
        const QString status = m_list->GetItemText(row, m_column);
        completed += status == QLatin1String("Completed");
        failed += status == QLatin1String("Fail");
    }
    const QString product = QString::fromLocal8Bit(g_szSoftName);
    return m_notifier.Notify(product, QStringLiteral("tovel"), QStringLiteral("tovel"),
                             QStringLiteral("Conversion finished"), Body(completed, failed));
}
