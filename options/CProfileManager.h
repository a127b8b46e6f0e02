#pragma once

#include "Profile.h"
#include "ProfileProblem.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <functional>
#include <memory>

class IProfileView;

// The catalogue of profile files and the loading of profiles by catalogue name.
// Owned by the main window; used on the UI thread only. The Profile records it loads belong
// to the caller (a job, or the display copy held here for the read-only view).
class CProfileManager
{
public:
    CProfileManager() = default;
    CProfileManager(const CProfileManager&) = delete;
    CProfileManager& operator=(const CProfileManager&) = delete;

    // Sets the view profiles are shown in (not owned; may be null).
    void SetView(IProfileView* view) { m_view = view; }
    // The view profiles are shown in; null when none.
    IProfileView* View() const { return m_view; }

    // Builds the catalogue from `profilesFolder`/*.pf (a file without "Name" is skipped),
    // selects the entry named by kChosenNameKey of `configFile` (else of `configDefaults`), else
    // the entry at "CProID" (else 0), and
    // shows that profile read-only. The user's own profiles follow the shipped ones, so that a
    // shipped profile keeps its index: the "user-*.pf" files of `profilesFolder`, then those of
    // `userFolder`; a user profile whose name is taken already is left out.
    void ScanProfiles(const QString& profilesFolder, const QString& configFile,
                      const QString& configDefaults = QString(),
                      const QString& userFolder = QString());

    // Notes for every listed profile what `missing` finds wrong with it (none when nothing),
    // unless the scan found it malformed.
    void CheckAvailability(const std::function<ProfileProblem(const Profile&)>& missing);

    // Lists a profile the user just saved after the others.
    void AddUserProfile(const QByteArray& name, const QString& path);

    // The "Config" key that keeps the chosen profile by name, beside its index "CProID".
    static constexpr const char* kChosenNameKey = "CProName";

    // The file name prefix of the user's own profiles.
    static constexpr const char* kUserPrefix = "user-";

    // The profile chosen for a user whose settings name none.
    static constexpr const char* kFirstChoice = "MP4 - H.264 Video (Quality)";

    // The groups the Profile box shows its entries under, in the box's order.
    enum class Group
    {
        Today,   // today's video profiles
        Audio,   // audio only
        Devices, // devices and discs: the legacy targets
        Own,     // the user's own
    };
    // The group of a listed name: the user's own for a user profile, else what its file's
    // "Group" key says ("today", "audio"), else Devices.
    Group GroupOf(const QByteArray& name) const;

    // Reads the named profile into the empty `profile`. A name not in the catalogue gives
    // no options and empty main values. False only for an empty name, no record, or no
    // memory for the options.
    bool LoadProfile(const QByteArray& name, Profile* profile) const;

    // Loads the named profile into a new record, shows it in `mode` (an
    // IProfileView::Mode) when the load succeeded (else clears the view), then puts it in `place`;
    // the old record is freed only after the view no longer shows it.
    bool ReplaceProfile(int mode, const QByteArray& name, std::unique_ptr<Profile>& place);

    // Shows `profile` in the view without reloading it (in an IProfileView::Mode).
    void ShowProfile(Profile& profile, int mode);
    // Writes the view's values back into `profile`; nothing without a view.
    void WriteBack(Profile& profile);
    // Locks every value of the view; nothing without a view.
    void LockAll();

    // Selects entry `index` of the listed names; outside the list selects nothing and the
    // current name becomes empty. Returns the current name.
    QByteArray SelectEntry(int index);

    // The listed names in scan order (a name may appear twice).
    const QList<QByteArray>& Names() const { return m_names; }
    // The selected index, -1 when none.
    int SelectedIndex() const { return m_selected; }
    // The text of the selected entry; empty when none.
    const QByteArray& CurrentName() const { return m_currentName; }
    // The file a catalogue name stands for; empty when the name is not listed.
    QString PathOf(const QByteArray& name) const { return m_catalogue.value(name); }
    // The display copy last loaded for the read-only view (may be null).
    Profile* DisplayProfile() const { return m_display.get(); }
    // Mutable place of the display copy, for ReplaceProfile.
    std::unique_ptr<Profile>& DisplayPlace() { return m_display; }

    // Notes why the named profile cannot be used as it is: Unavailable (the installed FFmpeg
    // lacks an encoder or format; loads carry it and conversions refuse it) or Malformed (found
    // by the scan itself). None clears it.
    void SetProblem(const QByteArray& name, const ProfileProblem& problem);
    // The problem noted for the name; none when there is none.
    ProfileProblem Problem(const QByteArray& name) const { return m_problems.value(name); }

    // The job list's target text: "SName", or "Format" in upper case when it is empty.
    static QByteArray TargetText(const Profile& profile);

private:
    void scanFolder(const QString& folder, bool user, bool userNamesOnly);

    QMap<QByteArray, QString> m_catalogue;       // name -> full path of its file
    QMap<QByteArray, ProfileProblem> m_problems; // name -> what is wrong with it
    QList<QByteArray> m_names;                   // the Profile box entries, in scan order
    QMap<QByteArray, Group> m_groups;            // name -> the group it is listed under
    int m_selected = -1;
    QByteArray m_currentName;
    std::unique_ptr<Profile> m_display; // read-only display copy; outlives the view's links
    IProfileView* m_view = nullptr;
};
