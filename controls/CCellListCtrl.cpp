#include "CCellListCtrl.h"

#include "ThreadHandOff.h"

#include "CCellItemDelegate.h"
#include "CCellListModel.h"
#include "CXHeaderCtrl.h"
#include "CellPaint.h"
#include "ListColumnWidths.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QThread>
#include <QUrl>

#include <algorithm>

namespace {

// Runs `ask` on the list's thread and waits for the answer.
template <typename T, typename F> T askUiThread(const QObject* list, F ask)
{
    T answer{};
    ThreadHandOff::callAndWait(const_cast<QObject*>(list), [&answer, &ask] { answer = ask(); });
    return answer;
}

} // namespace

CCellListCtrl::CCellListCtrl(QWidget* parent)
    : QTableView(parent), m_model(new CCellListModel(this)), m_header(new CXHeaderCtrl(this)),
      m_delegate(new CCellItemDelegate(this))
{
    qRegisterMetaType<CellPaint>();
    setModel(m_model);
    setHorizontalHeader(m_header);
    m_delegate->setColors(SystemColors::fromPalette(palette()));
    setItemDelegate(m_delegate);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    connect(m_header, &QHeaderView::sectionClicked, this, &CCellListCtrl::onColumnClicked);
    m_columns = new ListColumnWidths(this, m_header, m_model);
    connect(m_columns, &ListColumnWidths::userResized, this, &CCellListCtrl::columnWidthsChanged);
    // A fitted column's text may have grown; measured once the changes of this turn are in.
    const auto refit = [this] {
        if (!m_refitPending) {
            m_refitPending = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_refitPending = false;
                    m_columns->apply();
                },
                Qt::QueuedConnection);
        }
    };
    connect(m_model, &QAbstractItemModel::rowsInserted, this, refit);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, refit);
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            [this, refit](const QModelIndex& from, const QModelIndex& to) {
                for (const int column : m_fitColumns)
                    if (column >= from.column() && column <= to.column())
                        return refit();
            });
    SetReportLook();
}

CCellListCtrl::~CCellListCtrl() = default;

bool CCellListCtrl::onUiThread() const
{
    return QThread::currentThread() == thread();
}

void CCellListCtrl::SetEmptyLook(const QPixmap& tile)
{
    m_emptyLook = true;
    m_tile = tile;
    applyLook();
}

void CCellListCtrl::SetReportLook()
{
    m_emptyLook = false;
    m_tile = QPixmap();
    applyLook();
}

void CCellListCtrl::applyLook()
{
    QPalette palette = viewport()->palette();
    palette.setBrush(QPalette::Base,
                     m_tile.isNull() ? this->palette().brush(QPalette::Base) : QBrush(m_tile));
    viewport()->setPalette(palette);
    viewport()->setAutoFillBackground(true);
    setShowGrid(!m_emptyLook);
    m_header->setVisible(!m_emptyLook);
    viewport()->update();
}

int CCellListCtrl::InsertColumn(int column, const QString& title, Qt::Alignment alignment,
                                int width)
{
    const int index = m_model->addColumn(column, title, alignment);
    m_header->resizeSection(index, std::max(0, width));
    return index;
}

bool CCellListCtrl::DeleteColumn(int column)
{
    if (!m_model->deleteColumn(column))
        return false;
    m_columns->columnDeleted(column);
    return true;
}

void CCellListCtrl::SetStretchColumn(int column, int laidOutWidth)
{
    m_columns->setStretchColumn(column, laidOutWidth);
}

int CCellListCtrl::StretchColumn() const
{
    return m_columns->stretchColumn();
}

void CCellListCtrl::SetFitColumns(const QList<int>& columns)
{
    m_fitColumns = columns;
    m_columns->setFitColumns(columns);
}

QList<int> CCellListCtrl::ColumnWidths() const
{
    return m_columns->widths();
}

void CCellListCtrl::SetColumnWidths(const QList<int>& widths)
{
    m_columns->setWidths(widths);
}

void CCellListCtrl::resizeEvent(QResizeEvent* event)
{
    // The columns first, so that the scroll bars are judged on the widths that will show.
    m_columns->apply();
    QTableView::resizeEvent(event);
}

int CCellListCtrl::GetColumnCount() const
{
    if (!onUiThread())
        return askUiThread<int>(this, [this] { return GetColumnCount(); });
    return m_model->columnCount();
}

void CCellListCtrl::SetHeaderImageList(const QPixmap& strip, int imageWidth,
                                       const QColor& transparent)
{
    m_header->setImageList(strip, imageWidth, transparent);
}

bool CCellListCtrl::SetHeaderImage(int column, int image)
{
    const bool done =
        m_model->setHeaderData(column, Qt::Horizontal, image, CCellListModel::HeaderImageRole);
    if (done)
        m_header->viewport()->update();
    return done;
}

int CCellListCtrl::GetHeaderImage(int column) const
{
    if (column < 0 || column >= m_model->columnCount())
        return -1;
    return m_model->headerData(column, Qt::Horizontal, CCellListModel::HeaderImageRole).toInt();
}

int CCellListCtrl::InsertItem(int row, const QString& text)
{
    if (row < 0)
        return -1;
    return m_model->addRow(std::min(row, m_model->rowCount()), text);
}

bool CCellListCtrl::DeleteItem(int row)
{
    return m_model->deleteRow(row);
}

bool CCellListCtrl::MoveItem(int from, int to)
{
    return m_model->moveRow(from, to);
}

int CCellListCtrl::GetItemCount() const
{
    if (!onUiThread())
        return askUiThread<int>(this, [this] { return GetItemCount(); });
    return m_model->rowCount();
}

int CCellListCtrl::SetItemText(int row, int column, const QString& text)
{
    if (!onUiThread()) {
        ThreadHandOff::post(this, [this, row, column, text] { SetItemText(row, column, text); });
        return 1;
    }
    return m_model->setText(row, column, text) ? 1 : 0;
}

QString CCellListCtrl::GetItemText(int row, int column) const
{
    if (!onUiThread())
        return askUiThread<QString>(this, [=, this] { return GetItemText(row, column); });
    return m_model->text(row, column);
}

int CCellListCtrl::SetCheck(int row, int column, int state)
{
    if (!onUiThread()) {
        ThreadHandOff::post(this, [this, row, column, state] { SetCheck(row, column, state); });
        return 1;
    }
    ListCellInfo* cell = m_model->cell(row, column);
    if (!cell)
        return 0;
    cell->check = state < 0 ? -1 : (state ? 1 : 0);
    m_model->cellChanged(row, column);
    updateHeaderCheck(column);
    return 1;
}

int CCellListCtrl::GetCheck(int row, int column) const
{
    if (!onUiThread())
        return askUiThread<int>(this, [=, this] { return GetCheck(row, column); });
    const ListCellInfo* cell = m_model->cell(row, column);
    return cell ? cell->check : -1;
}

int CCellListCtrl::SetProgress(int row, int column, bool showText, const QString& format)
{
    if (!onUiThread()) {
        ThreadHandOff::post(this, [=, this] { SetProgress(row, column, showText, format); });
        return 1;
    }
    ListCellInfo* cell = m_model->cell(row, column);
    if (!cell)
        return 0;
    cell->progress = 1;
    cell->percent = 0;
    cell->showProgressText = showText ? 1 : 0;
    cell->progressFormat = format;
    cell->progressDetail.clear();
    m_model->cellChanged(row, column);
    return 1;
}

int CCellListCtrl::UpdateProgress(int row, int column, int percent)
{
    if (!onUiThread()) {
        ThreadHandOff::post(this, [=, this] { UpdateProgress(row, column, percent); });
        return 1;
    }
    ListCellInfo* cell = m_model->cell(row, column);
    if (!cell)
        return 0;
    cell->percent = percent;
    m_model->cellChanged(row, column);
    return 1;
}

int CCellListCtrl::RemoveProgress(int row, int column)
{
    if (!onUiThread()) {
        ThreadHandOff::post(this, [=, this] { RemoveProgress(row, column); });
        return 1;
    }
    ListCellInfo* cell = m_model->cell(row, column);
    if (!cell)
        return 0;
    cell->progress = 0;
    cell->percent = 0;
    cell->progressDetail.clear();
    m_model->cellChanged(row, column);
    return 1;
}

int CCellListCtrl::SetProgressDetail(int row, int column, const QStringList& detail)
{
    ListCellInfo* cell = m_model->cell(row, column);
    if (!cell || cell->progressDetail == detail)
        return cell ? 1 : 0;
    cell->progressDetail = detail;
    m_model->cellChanged(row, column);
    return 1;
}

int CCellListCtrl::SetRowEnabled(int row, bool enabled)
{
    ListCellInfo* first = m_model->firstCell(row);
    if (!first)
        return 0;
    first->enabled = enabled ? 1 : 0;
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_model->cellChanged(row, column);
    return 1;
}

int CCellListCtrl::SetItemBold(int row, int column, bool bold)
{
    ListCellInfo* cell = m_model->cell(row, column);
    if (!cell)
        return 0;
    cell->bold = bold ? 1 : 0;
    m_model->cellChanged(row, column);
    return 1;
}

int CCellListCtrl::SetItemColors(int row, int column, const QColor& text, const QColor& back)
{
    ListCellInfo* cell = m_model->cell(row, column);
    if (!cell)
        return 0;
    cell->textColor = text;
    cell->backColor = back;
    m_model->cellChanged(row, column);
    return 1;
}

int CCellListCtrl::SetItemToolTip(int row, int column, const QString& text)
{
    ListCellInfo* cell = m_model->cell(row, column);
    if (!cell)
        return 0;
    cell->tooltip = text;
    return 1;
}

void* CCellListCtrl::GetItemData(int row) const
{
    if (!onUiThread())
        return askUiThread<void*>(this, [=, this] { return GetItemData(row); });
    const ListCellInfo* first = m_model->firstCell(row);
    return first ? first->userData : nullptr;
}

int CCellListCtrl::SetItemData(int row, void* data)
{
    ListCellInfo* first = m_model->firstCell(row);
    if (!first)
        return 0;
    first->userData = data;
    m_model->cellChanged(row, 0);
    return 1;
}

int CCellListCtrl::GetFirstSelectedItem() const
{
    if (!onUiThread())
        return askUiThread<int>(this, [this] { return GetFirstSelectedItem(); });
    int first = -1;
    if (!selectionModel())
        return first;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    return first;
}

void CCellListCtrl::SelectItem(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

QList<int> CCellListCtrl::SelectedItems() const
{
    QList<int> rows;
    if (selectionModel())
        for (const QModelIndex& index : selectionModel()->selectedRows())
            rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CCellListCtrl::SelectItems(int first, int last)
{
    if (first < 0 || last < first || last >= m_model->rowCount())
        return;
    const QItemSelection rows(m_model->index(first, 0),
                              m_model->index(last, m_model->columnCount() - 1));
    selectionModel()->setCurrentIndex(m_model->index(first, 0), QItemSelectionModel::NoUpdate);
    selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(m_model->index(first, 0));
}

void CCellListCtrl::SetDropHandler(std::function<void(const QStringList&)> handler)
{
    m_dropHandler = std::move(handler);
}

void CCellListCtrl::updateHeaderCheck(int column)
{
    if (GetHeaderImage(column) < 0)
        return;
    bool all = true;
    for (int row = 0; row < m_model->rowCount() && all; ++row) {
        const ListCellInfo* cell = m_model->cell(row, column);
        all = cell && cell->check == 1;
    }
    SetHeaderImage(column, all ? 2 : 1);
}

void CCellListCtrl::onColumnClicked(int column)
{
    const int image = GetHeaderImage(column);
    if (image <= 0)
        return;
    const int state = image == 1 ? 1 : 0;
    SetHeaderImage(column, image == 1 ? 2 : 1);
    for (int row = 0; row < m_model->rowCount(); ++row) {
        ListCellInfo* cell = m_model->cell(row, column);
        if (cell && cell->check != -1) {
            cell->check = state;
            m_model->cellChanged(row, column);
        }
    }
}

bool CCellListCtrl::toggleCheck(int row, int column)
{
    const ListCellInfo* first = m_model->firstCell(row);
    ListCellInfo* cell = m_model->cell(row, column);
    if (!first || !first->enabled || !cell || cell->check < 0)
        return false;
    cell->check = cell->check == 0 ? 1 : 0;
    m_model->cellChanged(row, column);
    emit checkboxClicked(row, column);
    updateHeaderCheck(column);
    return true;
}

void CCellListCtrl::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    // The whole cell is the target, not only the box.
    if (event->button() == Qt::LeftButton && index.isValid())
        toggleCheck(index.row(), index.column());
    // Then the usual handling, so the row is selected as well.
    QTableView::mousePressEvent(event);
}

void CCellListCtrl::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex current = currentIndex();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        current.isValid()) {
        for (int column = 0; column < m_model->columnCount(); ++column) {
            const ListCellInfo* cell = m_model->cell(current.row(), column);
            if (cell && cell->check >= 0) {
                toggleCheck(current.row(), column);
                break;
            }
        }
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

QModelIndex CCellListCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const int rows = m_model->rowCount();
    if (rows == 0 || m_model->columnCount() == 0)
        return QModelIndex();
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    switch (action) {
    case MoveHome:
        return m_model->index(0, column);
    case MoveEnd:
        return m_model->index(rows - 1, column);
    case MoveLeft:
    case MoveRight:
    case MoveNext:
    case MovePrevious:
        return currentIndex();
    default:
        return QTableView::moveCursor(action, modifiers);
    }
}

void CCellListCtrl::dragEnterEvent(QDragEnterEvent* event)
{
    // An owner that stops taking drops (a batch reads the rows) shows no drop cursor.
    if (event->mimeData()->hasUrls() && viewport()->acceptDrops())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CCellListCtrl::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls() && viewport()->acceptDrops())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CCellListCtrl::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    event->acceptProposedAction();
    if (paths.isEmpty() || !m_dropHandler)
        return;
    // The handler may show dialogs: let the drag end first, then hand the files over.
    QMetaObject::invokeMethod(
        this,
        [this, paths] {
            if (m_dropHandler)
                m_dropHandler(paths);
        },
        Qt::QueuedConnection);
}

void CCellListCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        m_delegate->setColors(SystemColors::fromPalette(palette()));
        applyLook();
    }
    QTableView::changeEvent(event);
}
