#include "PrivateProfile.h"

#include "PrivateProfileText.h"

#include <QSaveFile>

QByteArray PrivateProfile::readString(const QString& file, const QByteArray& section,
                                      const QByteArray& key, const QByteArray& fallback, int size)
{
    PrivateProfileText text;
    text.load(file);
    return text.readString(section, key, fallback, size);
}

QByteArray PrivateProfile::readLayered(const QString& file, const QString& defaults,
                                       const QByteArray& section, const QByteArray& key,
                                       const QByteArray& fallback, int size)
{
    if (defaults.isEmpty())
        return readString(file, section, key, fallback, size);
    return readString(file, section, key, readString(defaults, section, key, fallback, size), size);
}

QList<QByteArray> PrivateProfile::readKeys(const QString& file, const QByteArray& section, int size)
{
    PrivateProfileText text;
    text.load(file);
    return text.readKeys(section, size);
}

bool PrivateProfile::writeString(const QString& file, const QByteArray& section,
                                 const QByteArray& key, const QByteArray& value)
{
    PrivateProfileText text;
    text.load(file);
    text.writeString(section, key, value);
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(text.data());
    return f.commit();
}
