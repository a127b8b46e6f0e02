#pragma once

#include "ProfileOption.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <vector>

// One loaded profile file. Owns its options; `firstOption` and each `next` point into
// `options`, so a Profile moves but is never copied (a copy would point into the original).
struct Profile
{
    Profile() = default;
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;
    Profile(Profile&&) = default;
    Profile& operator=(Profile&&) = default;

    QString path; // full path of the file; empty when the name is not in the catalogue
    QMap<QByteArray, QByteArray> mainKeys;
    QMap<QByteArray, QByteArray> parameterKeys;
    std::vector<ProfileOption> options; // one slot per "Parameter" key
    ProfileOption* firstOption = nullptr;
    int videoCount = 0;
    int audioCount = 0;
    int generalCount = 0;
    int optionCount = 0;
    QByteArray name; // the catalogue name it was loaded by
    QByteArray sName;
    QByteArray format;
    QByteArray extName;
    // Why the installed FFmpeg cannot make this profile ("unavailable: ..."); empty when it can.
    QString unavailable;

    // The option of the "Parameter" key `key`; null when the profile has none.
    ProfileOption* optionNamed(const QByteArray& key)
    {
        for (ProfileOption& option : options)
            if (option.name == key)
                return &option;
        return nullptr;
    }
    const ProfileOption* optionNamed(const QByteArray& key) const
    {
        return const_cast<Profile*>(this)->optionNamed(key);
    }
};
