#pragma once

#include <QString>
#include <QStringList>

// The files one admission (an Add, a drop, the command line) turned away, so that the user
// hears of them in one message however many arrived together. Threads: UI thread only.
class RefusedFiles
{
public:
    // How many names the message lists before it only counts the rest.
    static constexpr int kListed = 20;

    // Notes a refused file by its path.
    void add(const QString& path);
    bool isEmpty() const { return m_names.isEmpty(); }
    // The file names (the part after the last slash), in the order they were refused.
    const QStringList& names() const { return m_names; }
    // The "Error" message: for one file exactly the one-file text
    // (The file "name" can not be decoded.), for several a list of their names.
    QString text() const;

private:
    QStringList m_names;
};
