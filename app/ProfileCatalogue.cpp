#include "ProfileCatalogue.h"

#include "CProfileManager.h"
#include "CToolCapabilities.h"
#include "ProfileAvailability.h"
#include "ProfileFolders.h"
#include "Settings.h"
#include "WriteLocations.h"

void ProfileCatalogue::Scan(CProfileManager& profiles, const WriteLocations& where)
{
    profiles.ScanProfiles(ProfileFolders::Shipped(where), g_strConfigFile, g_strConfigDefaults,
                          ProfileFolders::User(where));
    CToolCapabilities installed{QByteArray()};
    if (!CToolCapabilities::Query(where.appFolder(), installed))
        return;
    profiles.CheckAvailability(
        [&](const Profile& profile) { return ProfileAvailability::Missing(profile, installed); });
}
