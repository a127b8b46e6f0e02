#pragma once

#include "BatchRows.h"
#include "BatchUser.h"
#include "ConversionJob.h"

#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

// Readable texts in the failures of this test program.
inline void PrintTo(const QString& text, std::ostream* stream)
{
    *stream << '"' << text.toStdString() << '"';
}

// The job list of a batch test: rows in memory, with every call the batch made kept in order
// as "<row>:<call>" so that a test can see which rows were touched.
class TestRows : public BatchRows
{
public:
    struct Row
    {
        std::unique_ptr<ConversionJob> job;
        bool checked = true;
        QString status = QStringLiteral("Ready");
        bool progress = false;
        int percent = -1;
        QString reason;
    };

    // Called on the converting thread after each progress update, outside the lock.
    std::function<void(int row, int percent)> onProgress;

    int add(std::unique_ptr<ConversionJob> job, bool checked = true)
    {
        std::lock_guard lock(m_lock);
        Row row;
        row.job = std::move(job);
        row.checked = checked;
        m_rows.push_back(std::move(row));
        return int(m_rows.size()) - 1;
    }
    QString status(int row) const
    {
        std::lock_guard lock(m_lock);
        return m_rows[size_t(row)].status;
    }
    QString reason(int row) const
    {
        std::lock_guard lock(m_lock);
        return m_rows[size_t(row)].reason;
    }
    bool checked(int row) const
    {
        std::lock_guard lock(m_lock);
        return m_rows[size_t(row)].checked;
    }
    void check(int row, bool on)
    {
        std::lock_guard lock(m_lock);
        m_rows[size_t(row)].checked = on;
    }
    QStringList calls() const
    {
        std::lock_guard lock(m_lock);
        return m_calls;
    }
    // The calls made on `row`, without the row prefix.
    QStringList callsOn(int row) const
    {
        QStringList out;
        const QString prefix = QString::number(row) + QLatin1Char(':');
        for (const QString& call : calls())
            if (call.startsWith(prefix))
                out << call.mid(prefix.size());
        return out;
    }
    // Waits until row `row` shows a progress of at least 1 percent; false after `seconds`.
    bool waitForProgress(int row, int seconds = 120)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(seconds),
                                  [&] { return m_rows[size_t(row)].percent >= 1; });
    }

    int rowCount() const override
    {
        std::lock_guard lock(m_lock);
        return int(m_rows.size());
    }
    bool isChecked(int row) const override { return checked(row); }
    void setChecked(int row, bool on) override
    {
        std::lock_guard lock(m_lock);
        m_rows[size_t(row)].checked = on;
        m_calls << QStringLiteral("%1:check %2").arg(row).arg(on ? 1 : 0);
    }
    ConversionJob* job(int row) override
    {
        std::lock_guard lock(m_lock);
        return m_rows[size_t(row)].job.get();
    }
    // Logged as the calls a status cell with a bar would take: "bar", "0" when it starts
    // converting, "nobar", "status <text>" when it is judged.
    void setState(int row, RowState state) override
    {
        std::lock_guard lock(m_lock);
        Row& r = m_rows[size_t(row)];
        if (state == RowState::Converting) {
            r.progress = true;
            r.percent = 0;
            m_calls << QStringLiteral("%1:bar").arg(row) << QStringLiteral("%1:0").arg(row);
            return;
        }
        r.progress = false;
        r.status = rowStateText(state);
        m_calls << QStringLiteral("%1:nobar").arg(row)
                << QStringLiteral("%1:status %2").arg(row).arg(r.status);
    }
    void updateProgress(int row, int percent) override
    {
        {
            std::lock_guard lock(m_lock);
            // Progress for a row without a bar is a fault the test must see.
            m_calls << QStringLiteral("%1:%2%3")
                           .arg(row)
                           .arg(m_rows[size_t(row)].progress ? QString() : QStringLiteral("nobar "))
                           .arg(percent);
            m_rows[size_t(row)].percent = percent;
        }
        m_changed.notify_all();
        if (onProgress)
            onProgress(row, percent);
    }
    void setFailureReason(int row, const QString& reason) override
    {
        std::lock_guard lock(m_lock);
        m_rows[size_t(row)].reason = reason;
    }
    void setResumePercent(int, int) override {}
    void updateTiming(int row, const RowTiming& timing) override
    {
        std::lock_guard lock(m_lock);
        m_timings.push_back({row, timing});
    }
    // Every pace the batch reported, in order, with its row.
    std::vector<std::pair<int, RowTiming>> timings() const
    {
        std::lock_guard lock(m_lock);
        return m_timings;
    }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<Row> m_rows;
    QStringList m_calls;
    std::vector<std::pair<int, RowTiming>> m_timings;
};

// The user of a batch test: keeps every message and window call, answers the stop question
// as told.
class TestUser : public BatchUser
{
public:
    struct Message
    {
        QString text;
        QString caption;
        Icon icon;
    };

    // The output box as the user left it before Encode.
    void presetOutputBox(const QString& text)
    {
        std::lock_guard lock(m_lock);
        m_outputBox = text;
    }
    void answer(bool yes)
    {
        std::lock_guard lock(m_lock);
        m_answer = yes;
    }
    std::vector<Message> messages() const
    {
        std::lock_guard lock(m_lock);
        return m_messages;
    }
    QStringList calls() const
    {
        std::lock_guard lock(m_lock);
        return m_calls;
    }
    // The threads that read the output box or wrote the editor back, in order.
    std::vector<std::thread::id> windowReaders() const
    {
        std::lock_guard lock(m_lock);
        return m_windowReaders;
    }

    void showMessage(const QString& text, const QString& caption, Icon icon) override
    {
        std::lock_guard lock(m_lock);
        m_messages.push_back({text, caption, icon});
        m_calls << QStringLiteral("message");
    }
    bool askYesNo(const QString& text, const QString& caption) override
    {
        std::lock_guard lock(m_lock);
        m_calls << QStringLiteral("ask %1|%2").arg(caption, text);
        return m_answer;
    }
    QString outputBoxText() override
    {
        std::lock_guard lock(m_lock);
        m_windowReaders.push_back(std::this_thread::get_id());
        return m_outputBox;
    }
    void setOutputBoxText(const QString& text) override
    {
        std::lock_guard lock(m_lock);
        m_outputBox = text;
        m_calls << QStringLiteral("box ") + text;
    }
    void enableControls(bool enable) override { record(QStringLiteral("controls %1").arg(enable)); }
    void enableEncode() override { record(QStringLiteral("encode")); }
    void stopPreview() override { record(QStringLiteral("preview")); }
    void writeBackSelectedProfile() override
    {
        std::lock_guard lock(m_lock);
        m_windowReaders.push_back(std::this_thread::get_id());
        m_calls << QStringLiteral("writeback");
    }
    void openOutputFolder(const QString& folder) override
    {
        record(QStringLiteral("open ") + folder);
    }

private:
    void record(const QString& call)
    {
        std::lock_guard lock(m_lock);
        m_calls << call;
    }

    mutable std::mutex m_lock;
    QString m_outputBox;
    bool m_answer = true;
    std::vector<Message> m_messages;
    QStringList m_calls;
    std::vector<std::thread::id> m_windowReaders;
};
