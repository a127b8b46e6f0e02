#include "CProfileManager.h"

#include "IProfileView.h"
#include "PrivateProfile.h"
#include "ProfileLint.h"
#include "ProfileReader.h"

#include <QDir>
#include <cstdlib>
#include <new>

namespace {

constexpr int kNameSize = 300; // "Name" during the scan: at most 299 characters
constexpr int kIndexSize = 8;  // "CProID": at most 7 characters

CProfileManager::Group groupNamed(const QByteArray& word)
{
    if (word.compare("today", Qt::CaseInsensitive) == 0)
        return CProfileManager::Group::Today;
    if (word.compare("audio", Qt::CaseInsensitive) == 0)
        return CProfileManager::Group::Audio;
    return CProfileManager::Group::Devices;
}

} // namespace

void CProfileManager::ScanProfiles(const QString& profilesFolder, const QString& configFile,
                                   const QString& configDefaults, const QString& userFolder)
{
    m_catalogue.clear();
    m_names.clear();
    m_problems.clear();
    m_groups.clear();

    scanFolder(profilesFolder, false, false);
    scanFolder(profilesFolder, true, true);
    if (!userFolder.isEmpty() &&
        QDir(userFolder).absolutePath() != QDir(profilesFolder).absolutePath())
        scanFolder(userFolder, true, false);

    const QByteArray index = configFile.isEmpty()
                                 ? QByteArray()
                                 : PrivateProfile::readLayered(configFile, configDefaults, "Config",
                                                               "CProID", "", kIndexSize);
    // The name outlasts a catalogue that changed since (a profile saved, one deleted); the
    // index serves a config.ini that has no name or names a profile that is gone.
    const QByteArray name = configFile.isEmpty()
                                ? QByteArray()
                                : PrivateProfile::readLayered(configFile, configDefaults, "Config",
                                                              kChosenNameKey, "", kNameSize);
    const qsizetype named = name.isEmpty() ? -1 : m_names.indexOf(name);
    // A user who never chose starts with today's profile, not with the first of the list.
    const qsizetype first = std::max<qsizetype>(0, m_names.indexOf(kFirstChoice));
    SelectEntry(named >= 0        ? int(named)
                : index.isEmpty() ? int(first)
                                  : std::atoi(index.constData()));
    ReplaceProfile(IProfileView::ReadOnly, m_currentName, m_display);
}

void CProfileManager::scanFolder(const QString& path, bool user, bool userNamesOnly)
{
    // Sorted by name, case ignored: the order Windows file systems list a folder in, and a
    // stable one where the native order is a hash order.
    const QDir folder(path);
    const QStringList files =
        folder.entryList({QStringLiteral("*.pf")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        const bool userFile = file.startsWith(QLatin1String(kUserPrefix), Qt::CaseInsensitive);
        if ((user && userNamesOnly && !userFile) || (!user && userFile))
            continue;
        const QString filePath = folder.absoluteFilePath(file);
        const QByteArray name = PrivateProfile::readString(filePath, "Main", "Name", "", kNameSize);
        if (name.isEmpty())
            continue;
        // A user's profile never takes the place of another.
        if (user && m_catalogue.contains(name))
            continue;
        m_catalogue.insert(name, filePath); // a later file with the same name wins
        m_names.append(name);
        m_groups.insert(name, user ? Group::Own
                                   : groupNamed(PrivateProfile::readString(
                                         filePath, "Main", "Group", "", kNameSize)));
        SetProblem(name, ProfileLint::Check(filePath));
    }
}

void CProfileManager::AddUserProfile(const QByteArray& name, const QString& path)
{
    m_catalogue.insert(name, path);
    m_names.append(name);
    m_groups.insert(name, Group::Own);
}

CProfileManager::Group CProfileManager::GroupOf(const QByteArray& name) const
{
    return m_groups.value(name, Group::Devices);
}

void CProfileManager::CheckAvailability(
    const std::function<ProfileProblem(const Profile&)>& missing)
{
    for (const QByteArray& name : std::as_const(m_names)) {
        if (m_problems.contains(name))
            continue;
        Profile profile;
        if (LoadProfile(name, &profile))
            SetProblem(name, missing(profile));
    }
}

bool CProfileManager::LoadProfile(const QByteArray& name, Profile* profile) const
{
    if (name.isEmpty() || !profile)
        return false;
    try {
        ProfileReader::Read(m_catalogue.value(name), name, *profile);
        const ProfileProblem problem = m_problems.value(name);
        if (problem.kind == ProfileProblem::Unavailable)
            profile->unavailable = problem.text();
    } catch (const std::bad_alloc&) {
        profile->options.clear();
        profile->firstOption = nullptr;
        profile->videoCount = profile->audioCount = profile->generalCount = 0;
        profile->optionCount = 0;
        return false;
    }
    return true;
}

bool CProfileManager::ReplaceProfile(int mode, const QByteArray& name,
                                     std::unique_ptr<Profile>& place)
{
    auto fresh = std::make_unique<Profile>();
    const bool loaded = LoadProfile(name, fresh.get());
    if (m_view) {
        if (loaded)
            m_view->ShowProfile(*fresh, mode);
        else
            m_view->ClearProfile();
    }
    // Freed only now: until the line above the view may still link into the old options.
    place = std::move(fresh);
    return loaded;
}

QByteArray CProfileManager::SelectEntry(int index)
{
    if (index >= 0 && index < m_names.size()) {
        m_selected = index;
        m_currentName = m_names.at(index);
    } else {
        m_selected = -1;
        m_currentName.clear();
    }
    return m_currentName;
}

void CProfileManager::SetProblem(const QByteArray& name, const ProfileProblem& problem)
{
    if (problem.isEmpty())
        m_problems.remove(name);
    else
        m_problems.insert(name, problem);
}

QByteArray CProfileManager::TargetText(const Profile& profile)
{
    return profile.sName.isEmpty() ? profile.format.toUpper() : profile.sName;
}

void CProfileManager::ShowProfile(Profile& profile, int mode)
{
    if (m_view)
        m_view->ShowProfile(profile, mode);
}

void CProfileManager::WriteBack(Profile& profile)
{
    if (m_view)
        m_view->WriteBack(profile);
}

void CProfileManager::LockAll()
{
    if (m_view)
        m_view->LockAll();
}
