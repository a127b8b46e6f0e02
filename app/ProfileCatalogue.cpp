#include "ProfileCatalogue.h"

#include "AppFolder.h"
#include "CProfileManager.h"
#include "CToolCapabilities.h"
#include "ProfileAvailability.h"
#include "ProfileFolders.h"

void ProfileCatalogue::Scan(CProfileManager& profiles, const QString& configFile)
{
    profiles.ScanProfiles(ProfileFolders::Shipped(), configFile, ProfileFolders::User());
    CToolCapabilities installed{QByteArray()};
    if (!CToolCapabilities::Query(AppFolder::path(), installed))
        return;
    profiles.CheckAvailability(
        [&](const Profile& profile) { return ProfileAvailability::Missing(profile, installed); });
}
