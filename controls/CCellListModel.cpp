#include "CCellListModel.h"

#include "CellPaint.h"

#include <algorithm>

CCellListModel::CCellListModel(QObject* parent) : QAbstractTableModel(parent) {}

int CCellListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CCellListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant CCellListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !contains(index.row(), index.column()))
        return QVariant();
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return text(row, column);
    case Qt::TextAlignmentRole:
        return int(columnAlignment(column));
    case Qt::AccessibleTextRole: {
        // A converting row's Status is its percentage, as the bar shows it.
        const ListCellInfo* info = cell(row, column);
        if (info && info->progress)
            return formatPercent(QString(), info->percent);
        return QVariant();
    }
    case Qt::ToolTipRole: {
        const ListCellInfo* info = cell(row, column);
        if (!info || info->tooltip.isEmpty())
            return QVariant();
        return info->tooltip.left(80);
    }
    case CellPaintRole: {
        CellPaint paint;
        paint.text = text(row, column);
        paint.alignment = columnAlignment(column);
        const ListCellInfo* info = cell(row, column);
        const std::vector<ListCellInfo>& cells = m_rows[size_t(row)].cells;
        paint.rowEnabled = cells.empty() || cells.front().enabled != 0;
        if (info) {
            paint.hasRecord = true;
            paint.bold = info->bold != 0;
            paint.textColor = info->textColor;
            paint.backColor = info->backColor;
            paint.check = info->check;
            paint.progress = info->progress != 0;
            paint.percent = info->percent;
            paint.showProgressText = info->showProgressText != 0;
            if (paint.progress && paint.showProgressText) {
                paint.progressText = formatPercent(info->progressFormat, info->percent);
                paint.progressDetail = info->progressDetail;
            }
        }
        return QVariant::fromValue(paint);
    }
    default:
        return QVariant();
    }
}

QVariant CCellListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_columns.size()))
        return QVariant();
    const Column& column = m_columns[size_t(section)];
    switch (role) {
    case Qt::DisplayRole:
        return column.title;
    case Qt::TextAlignmentRole:
        return int(column.alignment);
    case HeaderImageRole:
        return column.headerImage;
    default:
        return QVariant();
    }
}

bool CCellListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                                   int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_columns.size()))
        return false;
    Column& column = m_columns[size_t(section)];
    if (role == HeaderImageRole)
        column.headerImage = value.toInt();
    else if (role == Qt::DisplayRole || role == Qt::EditRole)
        column.title = value.toString();
    else
        return false;
    emit headerDataChanged(Qt::Horizontal, section, section);
    return true;
}

Qt::ItemFlags CCellListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

int CCellListModel::addColumn(int column, const QString& title, Qt::Alignment alignment)
{
    column = std::clamp(column, 0, int(m_columns.size()));
    beginInsertColumns(QModelIndex(), column, column);
    m_columns.insert(m_columns.begin() + column, Column{title, alignment, -1});
    for (Row& row : m_rows)
        row.texts.insert(column, QString());
    endInsertColumns();
    return column;
}

bool CCellListModel::deleteColumn(int column)
{
    if (column < 0 || column >= int(m_columns.size()))
        return false;
    beginRemoveColumns(QModelIndex(), column, column);
    m_columns.erase(m_columns.begin() + column);
    for (Row& row : m_rows)
        row.texts.removeAt(column);
    endRemoveColumns();
    return true;
}

int CCellListModel::addRow(int row, const QString& text)
{
    if (row < 0 || row > int(m_rows.size()))
        return -1;
    Row record;
    for (size_t i = 0; i < m_columns.size(); ++i)
        record.texts << QString();
    if (!record.texts.isEmpty())
        record.texts[0] = text;
    record.cells.resize(m_columns.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(m_rows.begin() + row, std::move(record));
    endInsertRows();
    return row;
}

bool CCellListModel::deleteRow(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
    return true;
}

bool CCellListModel::moveRow(int from, int to)
{
    const int count = int(m_rows.size());
    if (from < 0 || from >= count || to < 0 || to >= count || from == to)
        return false;
    // Qt names the destination as the row the moved one will stand before.
    if (!beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to))
        return false;
    Row moving = std::move(m_rows[size_t(from)]);
    m_rows.erase(m_rows.begin() + from);
    m_rows.insert(m_rows.begin() + to, std::move(moving));
    endMoveRows();
    return true;
}

bool CCellListModel::contains(int row, int column) const
{
    return row >= 0 && row < int(m_rows.size()) && column >= 0 && column < int(m_columns.size());
}

ListCellInfo* CCellListModel::cell(int row, int column)
{
    if (!contains(row, column))
        return nullptr;
    std::vector<ListCellInfo>& cells = m_rows[size_t(row)].cells;
    return size_t(column) < cells.size() ? &cells[size_t(column)] : nullptr;
}

const ListCellInfo* CCellListModel::cell(int row, int column) const
{
    return const_cast<CCellListModel*>(this)->cell(row, column);
}

ListCellInfo* CCellListModel::firstCell(int row)
{
    if (row < 0 || row >= int(m_rows.size()) || m_rows[size_t(row)].cells.empty())
        return nullptr;
    return &m_rows[size_t(row)].cells.front();
}

QString CCellListModel::text(int row, int column) const
{
    if (!contains(row, column))
        return QString();
    return m_rows[size_t(row)].texts.value(column);
}

bool CCellListModel::setText(int row, int column, const QString& text)
{
    if (!contains(row, column))
        return false;
    m_rows[size_t(row)].texts[column] = text;
    cellChanged(row, column);
    return true;
}

void CCellListModel::cellChanged(int row, int column)
{
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed);
}

Qt::Alignment CCellListModel::columnAlignment(int column) const
{
    if (column < 0 || column >= int(m_columns.size()))
        return Qt::AlignLeft;
    return m_columns[size_t(column)].alignment;
}

QString CCellListModel::formatPercent(const QString& format, int percent)
{
    const QString pattern = format.isEmpty() ? QStringLiteral("%d%%") : format;
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == QLatin1Char('%') && i + 1 < pattern.size()) {
            if (pattern[i + 1] == QLatin1Char('d')) {
                out += QString::number(percent);
                ++i;
                continue;
            }
            if (pattern[i + 1] == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}
