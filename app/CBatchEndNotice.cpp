#include "CBatchEndNotice.h"

#include "JobModel.h"
#include "Settings.h"

#include <QWidget>

CBatchEndNotice::CBatchEndNotice(QWidget* window, const JobModel& model)
    : QObject(window), m_window(window), m_model(model)
{
    // The worker's changes arrive here in the order it made them.
    connect(&model, &JobModel::rowChanged, this, [this](int row, int changes) {
        if (m_counting && (changes & JobModel::State) &&
            m_model.values(row).state == RowState::Converting)
            m_rows.insert(m_model.job(row));
    });
}

void CBatchEndNotice::BatchStarted()
{
    m_rows.clear();
    m_counting = true;
}

QString CBatchEndNotice::Body(int completed, int failed, int skipped, int low)
{
    QString body = QStringLiteral("%1 completed, %2 failed").arg(completed).arg(failed);
    if (skipped > 0)
        body += QStringLiteral(", %1 skipped").arg(skipped);
    if (low > 0)
        body += QStringLiteral(", %1 below the quality asked for").arg(low);
    return body;
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
    int skipped = 0;
    int low = 0;
    for (const ConversionJob* job : std::as_const(m_rows)) {
        const JobModel::RowValues values = m_model.values(m_model.indexOf(job));
        const RowState state = values.state;
        low += state == RowState::Completed && values.verdict.belowFloor;
        completed += state == RowState::Completed;
        failed += state == RowState::Fail;
        skipped += state == RowState::Skipped;
    }
    const QString product = QString::fromLocal8Bit(g_szSoftName);
    return m_notifier.Notify(product, QStringLiteral("tovel"), QStringLiteral("tovel"),
                             QStringLiteral("Conversion finished"),
                             Body(completed, failed, skipped, low));
}
