#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// An application folder whose encoder tool is the fake tool, following a plan of steps
// (see tests/support/FakeEncoder.cpp). One per test; the plan can be replaced between runs.
class FakeTool
{
public:
    FakeTool();
    ~FakeTool();

    // False when the folder or the tool copy could not be made.
    bool isValid() const { return m_valid; }
    // The application folder, with a trailing '/'.
    QString appFolder() const { return m_dir.path() + QLatin1Char('/'); }
    // A path inside the folder.
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // The steps of the next runs, one per line.
    void setPlan(const QStringList& steps);
    // Arguments the tool received in its last run; empty when it has not run.
    QStringList arguments() const;
    // What the tool read from its standard input in its last "waitq" step.
    QByteArray input() const;
    // True once the tool has been started since the last setPlan.
    bool ran() const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};
