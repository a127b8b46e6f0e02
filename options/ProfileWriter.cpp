#include "ProfileWriter.h"

#include "Profile.h"

#include <QSaveFile>
#include <QSet>

bool ProfileWriter::Write(const Profile& profile, const QByteArray& name, const QString& path,
                          QString& error)
{
    QByteArray text = "[Main]\nName=" + name + "\nSName=" + profile.sName +
                      "\nFormat=" + profile.format + "\nExtName=" + profile.extName +
                      "\n\n[Parameter]\n";
    QSet<QByteArray> written;
    for (const ProfileOption* o = profile.firstOption; o; o = o->next) {
        // The fields are split at commas, so a comma in one would shift the others.
        if (o->access.contains(',') || o->value.contains(',')) {
            error = QStringLiteral("The value of \"%1\" holds a comma, which a profile cannot "
                                   "store.")
                        .arg(QString::fromLocal8Bit(o->label));
            return false;
        }
        text += o->name + '=' + o->access + ',' + o->reserved + ',' + o->value;
        if (!o->listText.isEmpty())
            text += ',' + o->listText;
        text += '\n';
        written.insert(o->name);
    }
    // Entries the loader passed over stay as the file had them.
    for (auto it = profile.parameterKeys.cbegin(); it != profile.parameterKeys.cend(); ++it)
        if (!written.contains(it.key()))
            text += it.key() + '=' + it.value() + '\n';

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = QStringLiteral("The profile could not be written to \"%1\".").arg(path);
        return false;
    }
    return true;
}
