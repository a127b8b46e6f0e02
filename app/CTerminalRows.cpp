#include "CTerminalRows.h"

#include "CConsoleWriter.h"
#include "ConversionJob.h"
#include "FormatHMS.h"
#include "JobModel.h"

CTerminalRows::CTerminalRows(JobModel& model, CConsoleWriter& writer)
    : m_model(model), m_writer(writer)
{
    // Direct: the lines are written in the order the batch made its changes, beside its
    // messages.
    connect(&m_model, &JobModel::rowChanged, this, &CTerminalRows::onRowChanged,
            Qt::DirectConnection);
}

QString CTerminalRows::nameOf(int row) const
{
    const ConversionJob* job = m_model.job(row);
    return job ? job->inputPath.mid(job->inputPath.lastIndexOf(QLatin1Char('/')) + 1) : QString();
}

int CTerminalRows::addRow(std::unique_ptr<ConversionJob> job, const QString& target)
{
    const double seconds = MeasuredSeconds(job->media.duration);
    const int row = m_model.append(std::move(job));
    m_writer.line(QStringLiteral("%1  %2  %3  %4")
                      .arg(nameOf(row), FormatHMS(seconds), target, rowStateText(RowState::Ready)));
    return row;
}

void CTerminalRows::onRowChanged(int row, int changes)
{
    const JobModel::RowValues values = m_model.values(row);
    if (values.state == RowState::Converting) {
        if (changes & JobModel::Progress)
            m_writer.progress(row, nameOf(row), values.percent, values.timing.text());
        return;
    }
    if (!(changes & JobModel::State))
        return;
    m_writer.endProgress(row);
    QString line = nameOf(row) + QStringLiteral(": ") + rowStateText(values.state);
    if (values.timing.finished) {
        const QString speed = values.timing.speedText();
        line += QStringLiteral(" in ") + values.timing.elapsedText() +
                (speed.isEmpty() ? QString() : QStringLiteral(" (") + speed + ')');
    }
    if (const QString verdict = values.verdict.text(); !verdict.isEmpty())
        line += QStringLiteral(" [") + verdict + QLatin1Char(']');
    if (!values.reason.isEmpty())
        line += QStringLiteral(" - ") + values.reason;
    m_writer.line(line);
}
