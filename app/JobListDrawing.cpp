#include "JobListDrawing.h"

#include "CCellListCtrl.h"
#include "CCellListModel.h"
#include "CProfileManager.h"
#include "ConversionJob.h"
#include "FormatHMS.h"
#include "JobModel.h"
#include "ResourceImages.h"

namespace {

const int kColumns = 5;
// Images of the header strip (ResourceImages::HeaderChecks).
const int kPlainHeader = 0;
const int kUncheckedHeader = 1;
// The warning mark of a row whose output measured below the least quality asked for.
constexpr QColor kWarningText(140, 60, 0);
constexpr QColor kWarningBack(255, 226, 160);

QString fileNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

JobListDrawing::JobListDrawing(JobModel& model, CCellListCtrl* list, QObject* parent)
    : QObject(parent), m_model(model), m_list(list)
{
    connect(&m_model, &JobModel::rowInserted, this, &JobListDrawing::onInserted);
    connect(&m_model, &JobModel::rowRemoved, this, &JobListDrawing::onRemoved);
    connect(&m_model, &JobModel::rowMoved, this,
            [this](int from, int to) { m_list->MoveItem(from, to); });
    connect(&m_model, &JobModel::rowChanged, this, &JobListDrawing::onChanged);
    connect(m_list->cellModel(), &QAbstractItemModel::dataChanged, this,
            &JobListDrawing::onCellsChanged);
}

void JobListDrawing::SetEmptyState()
{
    m_list->SetHeaderImageList(QPixmap(), 16, QColor());
    for (int column = m_list->GetColumnCount() - 1; column >= 0; --column)
        m_list->DeleteColumn(column);
    m_list->SetEmptyLook(ResourceImages::bitmap(ResourceImages::EmptyListTile));
    m_emptyState = true;
}

void JobListDrawing::CreateColumns()
{
    m_list->SetReportLook();
    // The columns are made for the list at its template size (its minimum); in a larger
    // window the Name column takes the rest, so the other columns look the same at any size.
    const int laidOut = m_list->minimumWidth() > 0 ? m_list->minimumWidth() : m_list->width();
    const int width = laidOut - 2;
    const int check = width * 4 / 64;
    const int name = width * 24 / 64;
    const int duration = width * 8 / 64;
    const int target = width * 8 / 64;
    const int status = width - (check + name + duration + target) - 2;
    m_list->InsertColumn(kCheckColumn, QString(), Qt::AlignCenter, check);
    m_list->InsertColumn(kNameColumn, QStringLiteral("Name"), Qt::AlignLeft | Qt::AlignVCenter,
                         name);
    m_list->InsertColumn(kDurationColumn, QStringLiteral("Duration"), Qt::AlignCenter, duration);
    m_list->InsertColumn(kTargetColumn, QStringLiteral("Target"), Qt::AlignCenter, target);
    m_list->InsertColumn(kStatusColumn, QStringLiteral("Status"), Qt::AlignCenter, status);
    m_list->SetHeaderImageList(ResourceImages::bitmap(ResourceImages::HeaderChecks), 16,
                               QColor(255, 0, 255));
    for (int column = 0; column < kColumns; ++column)
        m_list->SetHeaderImage(column, column == kCheckColumn ? kUncheckedHeader : kPlainHeader);
    m_list->SetStretchColumn(kNameColumn, laidOut);
    m_list->SetFitColumns({kDurationColumn, kTargetColumn});
    m_list->SetColumnWidths(m_widths);
    m_emptyState = false;
}

void JobListDrawing::onInserted(int row)
{
    if (m_emptyState)
        CreateColumns();
    ConversionJob* job = m_model.job(row);
    const JobModel::RowValues values = m_model.values(row);
    m_list->setUpdatesEnabled(false);
    m_list->InsertItem(row, QString());
    m_list->SetCheck(row, kCheckColumn, values.checked ? 1 : 0);
    m_list->SetItemData(row, job);
    m_list->SetItemText(row, kNameColumn, fileNameOf(job->inputPath));
    m_list->SetItemText(row, kDurationColumn, FormatHMS(MeasuredSeconds(job->media.duration)));
    drawTarget(row);
    m_list->SetItemText(row, kStatusColumn, rowStateText(values.state));
    m_list->setUpdatesEnabled(true);
}

void JobListDrawing::onRemoved(int row)
{
    m_list->DeleteItem(row);
    if (m_model.rowCount() == 0 && !m_emptyState)
        SetEmptyState();
}

void JobListDrawing::drawTarget(int row)
{
    const ConversionJob* job = m_model.job(row);
    if (job && job->profile)
        m_list->SetItemText(row, kTargetColumn,
                            QString::fromLocal8Bit(CProfileManager::TargetText(*job->profile)));
}

void JobListDrawing::onChanged(int row, int changes)
{
    const JobModel::RowValues values = m_model.values(row);
    if (changes & JobModel::Check)
        m_list->SetCheck(row, kCheckColumn, values.checked ? 1 : 0);
    if (changes & JobModel::Profile)
        drawTarget(row);
    if (changes & JobModel::State) {
        if (values.state == RowState::Converting) {
            m_list->SetProgress(row, kStatusColumn);
        } else {
            m_list->RemoveProgress(row, kStatusColumn);
            m_list->SetItemText(row, kStatusColumn, rowStateText(values.state));
        }
    }
    if ((changes & JobModel::Progress) && values.state == RowState::Converting)
        m_list->UpdateProgress(row, kStatusColumn, values.percent);
    // The pace is read in the row itself, as far as the cell is wide; the tooltip keeps it whole.
    if ((changes & JobModel::Timing) && values.state == RowState::Converting) {
        QStringList detail{values.timing.speedText(), values.timing.leftClock()};
        detail.removeAll(QString());
        m_list->SetProgressDetail(row, kStatusColumn, detail);
    }
    // A failed row's reason is what its tooltip keeps; a row with kept work says where it goes
    // on; a measured row its verdict; else its pace.
    if (changes & (JobModel::Timing | JobModel::Reason | JobModel::Resume | JobModel::Verdict)) {
        const bool resumes = values.resumePercent > 0 && values.state != RowState::Converting;
        const QString verdict = values.verdict.text();
        m_list->SetItemToolTip(row, kStatusColumn,
                               !values.reason.isEmpty() ? values.reason
                               : resumes
                                   ? QStringLiteral("resumes at %1 %").arg(values.resumePercent)
                               : !verdict.isEmpty() ? verdict
                                                    : values.timing.text());
    }
    // The mark of a row below the least quality asked for: its Status in warning colours.
    if (changes & JobModel::Verdict) {
        const bool low = values.verdict.belowFloor;
        m_list->SetItemColors(row, kStatusColumn, low ? kWarningText : QColor(),
                              low ? kWarningBack : QColor());
        m_list->SetItemBold(row, kStatusColumn, low);
    }
}

void JobListDrawing::onCellsChanged(const QModelIndex& first, const QModelIndex& last)
{
    // The user's check box clicks (one row, or all through the header) go into the model.
    if (first.column() > kCheckColumn)
        return;
    for (int row = first.row(); row <= last.row() && row < m_model.rowCount(); ++row) {
        const int check = m_list->GetCheck(row, kCheckColumn);
        const bool shown = check == 1;
        // -1: a row being drawn, whose box is not there yet.
        if (check != -1 && shown != m_model.isChecked(row))
            m_model.setChecked(row, shown);
    }
}
