#include "OutputStillCommand.h"

#include "CJobList.h"
#include "CParamTree.h"
#include "CPreviewPanel.h"
#include "CompareView.h"
#include "ConversionJob.h"
#include "JobModel.h"
#include "OutputStill.h"
#include "PopupEntry.h"

#include <QAction>
#include <QImage>
#include <QItemSelectionModel>
#include <QMenu>

OutputStillCommand::OutputStillCommand(QMenu* popup, QAction* before, QWidget* window, Parts parts,
                                       QObject* parent)
    : QObject(parent), m_parts(std::move(parts))
{
    m_entry = PopupEntry::add(popup, before, window, QStringLiteral("Preview &Output Frame"),
                              kCommandId, QKeySequence(Qt::Key_F8), this);
    connect(m_entry, &QAction::triggered, this, [this] { toggle(); });
    connect(popup, &QMenu::aboutToShow, this, [this] {
        m_entry->setEnabled(m_parts.preview->showsOutputStill() || stillRow() >= 0);
    });
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] { ask(); });
    connect(m_parts.preview, &CPreviewPanel::stillMoved, this, [this](double seconds) {
        m_moment = seconds;
        m_settle.start();
    });
    if (m_parts.editor)
        connect(m_parts.editor, &CParamTree::notify, this, [this](int code) {
            if (code == CParamTree::kNotifyEndEdit && m_parts.preview->showsOutputStill())
                m_settle.start();
        });
    connect(m_parts.still, &OutputStill::ready, this,
            [this](quint64 id, const QString& path, QSize frame) {
                if (id == m_asked)
                    m_parts.preview->SetOutputStill(
                        QImage(path),
                        QStringLiteral("Output %1\u00d7%2").arg(frame.width()).arg(frame.height()));
            });
    connect(m_parts.still, &OutputStill::failed, this, [this](quint64 id, const QString& reason) {
        if (id == m_asked)
            m_parts.preview->SetOutputStill(QImage(), QStringLiteral("Output: ") + reason);
    });
    connect(m_parts.selection, &QItemSelectionModel::selectionChanged, this,
            [this] { followSelection(); });
}

int OutputStillCommand::stillRow() const
{
    const QList<int> rows = m_parts.jobs->SelectedRows();
    if (rows.size() != 1)
        return -1;
    const ConversionJob* job = m_parts.model->job(rows.first());
    return job && OutputStill::unavailable(*job).isEmpty() ? rows.first() : -1;
}

void OutputStillCommand::toggle()
{
    if (m_parts.preview->showsOutputStill()) {
        m_settle.stop();
        m_parts.still->cancel();
        m_parts.preview->EndCompare();
        return;
    }
    const int row = stillRow();
    if (row < 0)
        return; // the key with nothing to show, as the disabled entry
    m_moment = m_parts.preview->moment();
    m_parts.preview->ShowOutputStill(m_parts.model->job(row)->inputPath, m_moment);
    ask();
}

void OutputStillCommand::followSelection()
{
    if (!m_parts.preview->showsOutputStill())
        return;
    const int row = stillRow();
    if (row < 0) {
        toggle();
        return;
    }
    m_parts.preview->ShowOutputStill(m_parts.model->job(row)->inputPath, m_moment);
    ask();
}

void OutputStillCommand::ask()
{
    const int row = stillRow();
    if (!m_parts.preview->showsOutputStill() || row < 0)
        return;
    // The editor's values not yet written back are part of what the user sees as the row's.
    m_parts.jobs->WriteBackEdits();
    const CompareView* view = m_parts.preview->compareView();
    m_parts.preview->SetOutputStill(view->outputPicture(),
                                    QStringLiteral("Output: making the picture\u2026"));
    m_asked = m_parts.still->request(*m_parts.model->job(row), m_moment);
}
