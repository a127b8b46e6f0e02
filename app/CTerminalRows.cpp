#include "CTerminalRows.h"

#include "CConsoleWriter.h"
#include "ConversionJob.h"
#include "FormatHMS.h"

CTerminalRows::CTerminalRows(CConsoleWriter& writer) : m_writer(writer) {}

int CTerminalRows::addRow(std::unique_ptr<ConversionJob> job, const QString& target)
{
    Row row;
    row.name = job->inputPath.mid(job->inputPath.lastIndexOf(QLatin1Char('/')) + 1);
    row.status = QStringLiteral("Ready");
    const QString text =
        QStringLiteral("%1  %2  %3  %4")
            .arg(row.name, FormatHMS(MeasuredSeconds(job->media.duration)), target, row.status);
    row.job = std::move(job);
    int index;
    {
        std::lock_guard lock(m_lock);
        m_rows.push_back(std::move(row));
        index = int(m_rows.size()) - 1;
    }
    m_writer.line(text);
    return index;
}

QString CTerminalRows::statusText(int row) const
{
    std::lock_guard lock(m_lock);
    return valid(row) ? m_rows[size_t(row)].status : QString();
}

int CTerminalRows::rowCount() const
{
    std::lock_guard lock(m_lock);
    return int(m_rows.size());
}

bool CTerminalRows::isChecked(int row) const
{
    std::lock_guard lock(m_lock);
    return valid(row) && m_rows[size_t(row)].checked;
}

void CTerminalRows::setChecked(int row, bool checked)
{
    std::lock_guard lock(m_lock);
    if (valid(row))
        m_rows[size_t(row)].checked = checked;
}

ConversionJob* CTerminalRows::job(int row)
{
    std::lock_guard lock(m_lock);
    return valid(row) ? m_rows[size_t(row)].job.get() : nullptr;
}

void CTerminalRows::setStatusText(int row, const QString& text)
{
    QString line;
    {
        std::lock_guard lock(m_lock);
        if (!valid(row))
            return;
        Row& r = m_rows[size_t(row)];
        r.status = text;
        line = r.name + QStringLiteral(": ") + text;
        if (r.timing.finished) {
            const QString speed = r.timing.speedText();
            line += QStringLiteral(" in ") + r.timing.elapsedText() +
                    (speed.isEmpty() ? QString() : QStringLiteral(" (") + speed + ')');
        }
        if (!r.reason.isEmpty())
            line += QStringLiteral(" - ") + r.reason;
        r.timing = RowTiming{};
        r.reason.clear();
    }
    m_writer.line(line);
}

void CTerminalRows::setProgress(int row)
{
    std::lock_guard lock(m_lock);
    if (valid(row))
        m_rows[size_t(row)].progress = true;
}

void CTerminalRows::updateProgress(int row, int percent)
{
    QString name;
    QString pace;
    {
        std::lock_guard lock(m_lock);
        if (!valid(row) || !m_rows[size_t(row)].progress)
            return;
        name = m_rows[size_t(row)].name;
        pace = m_rows[size_t(row)].timing.text();
    }
    m_writer.progress(row, name, percent, pace);
}

void CTerminalRows::updateTiming(int row, const RowTiming& timing)
{
    std::lock_guard lock(m_lock);
    if (valid(row))
        m_rows[size_t(row)].timing = timing;
}

void CTerminalRows::setFailureReason(int row, const QString& reason)
{
    std::lock_guard lock(m_lock);
    if (valid(row))
        m_rows[size_t(row)].reason = reason;
}

void CTerminalRows::removeProgress(int row)
{
    {
        std::lock_guard lock(m_lock);
        if (!valid(row) || !m_rows[size_t(row)].progress)
            return;
        m_rows[size_t(row)].progress = false;
    }
    m_writer.endProgress(row);
}
