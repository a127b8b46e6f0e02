#include "ProfileSaver.h"

#include "CProfileManager.h"
#include "ProfileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString ProfileSaver::Save(CProfileManager& profiles, const Profile& profile, const QString& text,
                           const QString& folder)
{
    const QString name = text.trimmed();
    if (name.isEmpty())
        return QStringLiteral("Please enter a name for the new profile.");
    // These would break the lines and sections of the profile file.
    if (name.contains(QRegularExpression(QStringLiteral("[\\r\\n\\[\\]=]"))))
        return QStringLiteral("A profile name cannot hold line breaks, brackets or \"=\".");
    const QByteArray key = name.toLocal8Bit();
    for (const QByteArray& listed : profiles.Names())
        if (QString::fromLocal8Bit(listed).compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("There is already a profile named \"%1\". Please choose "
                                  "another name.")
                .arg(QString::fromLocal8Bit(listed));

    if (!QDir().mkpath(folder))
        return QStringLiteral("The folder \"%1\" could not be made.").arg(folder);
    // The file is named after the profile, without what a file name cannot hold.
    QString base = name;
    base.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    QString path = folder + QLatin1String(CProfileManager::kUserPrefix) + base + ".pf";
    for (int n = 1; QFileInfo::exists(path); ++n)
        path = folder + QLatin1String(CProfileManager::kUserPrefix) + base +
               QStringLiteral("-%1.pf").arg(n);
    QString error;
    if (!ProfileWriter::Write(profile, key, path, error))
        return error;
    profiles.AddUserProfile(key, path);
    return QString();
}
