#include "ProfileCatalogue.h"

#include "CProfileManager.h"
#include "CToolCapabilities.h"
#include "ProfileAvailability.h"
#include "ProfileFolders.h"
#include "Settings.h"
#include "WriteLocations.h"

void ProfileCatalogue::Scan(CProfileManager& profiles, const WriteLocations& where,
                            const Settings& settings)
{
    profiles.ScanProfiles(ProfileFolders::Shipped(where), settings.configFile(),
                          settings.configDefaults(), ProfileFolders::User(where));
    CToolCapabilities installed{QByteArray()};
    if (!CToolCapabilities::Query(where.appFolder(), installed))
        return;
    profiles.CheckAvailability(
        [&](const Profile& profile) { return ProfileAvailability::Missing(profile, installed); });
}
