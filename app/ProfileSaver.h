#pragma once

#include <QString>

class CProfileManager;
struct Profile;

// Saves a row's profile, with the values it holds now, as a new profile of the user's own
// (ProfileFolders::User), and lists it after the others. UI thread (it changes the catalogue).
namespace ProfileSaver {

// Saves `profile` as `name`; the message to show when it cannot (no name, a name some
// profile has, a file that cannot be written), else empty.
QString Save(CProfileManager& profiles, const Profile& profile, const QString& name);

} // namespace ProfileSaver
