#include "StateFolderClaim.h"

#include <QDir>
#include <QLockFile>

namespace {

QString withSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

StateFolderClaim::StateFolderClaim(const QString& base, const QStringList& fallbacks)
{
    const QString root = withSeparator(QDir::fromNativeSeparators(base));
    QStringList candidates{root};
    for (const QString& name : fallbacks)
        candidates += withSeparator(root + name);
    for (int i = 0; i < candidates.size(); ++i) {
        const QString& folder = candidates[i];
        const bool last = i == candidates.size() - 1;
        QDir().mkpath(folder);
        auto lock = std::make_unique<QLockFile>(folder + QLatin1String(kLockName));
        // Held for the whole run: only a dead owner makes a lock stale, never its age.
        lock->setStaleLockTime(0);
        const bool locked = lock->tryLock(0);
        if (locked || lock->error() != QLockFile::LockFailedError || last) {
            m_folder = folder;
            m_isBase = i == 0;
            if (locked)
                m_lock = std::move(lock);
            return;
        }
    }
}

StateFolderClaim::~StateFolderClaim() = default;
