#pragma once

#include <QString>

class CProfileManager;
struct Profile;

// Saves a row's profile, with the values it holds now, as a new profile of the user's own
// in the user's profile folder, and lists it after the others. UI thread (it changes the
// catalogue).
namespace ProfileSaver {

// Saves `profile` as `name` into `folder` (made when missing); the message to show when it
// cannot (no name, a name some profile has, a file that cannot be written), else empty.
QString Save(CProfileManager& profiles, const Profile& profile, const QString& name,
             const QString& folder);

} // namespace ProfileSaver
