#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

// Which folder one process writes its trace and scripts into, held by a lock file for the
// process's life, so that two processes never write the same trace.log or edit.avs. The
// first of the candidate folders whose lock is free wins; a folder whose lock cannot even be
// made (it cannot be written) is taken without one, as nothing is written there anyway.
// Threads: made and destroyed on the thread that starts the program.
class StateFolderClaim
{
public:
    // Claims the first free of `base` and then `fallbacks`, folder names relative to `base`
    // (made when taken); the last fallback is taken even when held.
    StateFolderClaim(const QString& base, const QStringList& fallbacks);
    ~StateFolderClaim();
    StateFolderClaim(const StateFolderClaim&) = delete;
    StateFolderClaim& operator=(const StateFolderClaim&) = delete;

    // The claimed folder, ending in a separator.
    QString folder() const { return m_folder; }
    // True when `base` itself was claimed.
    bool isBase() const { return m_isBase; }

    // The lock file's name in a claimed folder.
    static constexpr const char* kLockName = "tovel.lock";

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_folder;
    bool m_isBase = true;
};
