#include "Settings.h"

#include "AppFolder.h"
#include "CProfileManager.h"
#include "DefaultFolders.h"
#include "PrivateProfile.h"
#include "ProgramVersion.h"
#include "WriteLocations.h"

#include <QThread>
#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <cstring>

QString g_strConfigFile;
QString g_strConfigDefaults;
char g_szVersion[32];
char g_szSoftName[128];
QString g_strOutput;

namespace {

const QByteArray kSection = "Config";
// Far beyond any folder a system can hold, so that a long one is read whole and then refused.
const int kOutputBuffer = 65536;

template <size_t N> void readInto(char (&buffer)[N], const char* key, const QByteArray& fallback)
{
    std::memset(buffer, 0, N);
    const QByteArray value = PrivateProfile::readLayered(g_strConfigFile, g_strConfigDefaults,
                                                         kSection, key, fallback, int(N));
    std::memcpy(buffer, value.constData(), size_t(value.size()));
}

} // namespace

void Settings::ReadStartup()
{
    ReadStartup(WriteLocations::besideProgram(AppFolder::path()));
}

void Settings::ReadStartup(const WriteLocations& where)
{
    g_strConfigFile = where.configFile();
    g_strConfigDefaults = where.configDefaults();
    readInto(g_szVersion, "version", ProgramVersion::number().toLatin1());
    readInto(g_szSoftName, "SoftName", "Tovel Video Converter");
    g_strOutput = QString::fromLocal8Bit(
        PrivateProfile::readLayered(g_strConfigFile, g_strConfigDefaults, kSection, "Output",
                                    DefaultFolders::output().toLocal8Bit(), kOutputBuffer));
}

QString Settings::WindowTitle()
{
    char title[256];
    std::snprintf(title, sizeof title, "%s %s", g_szSoftName, g_szVersion);
    return QString::fromLocal8Bit(title);
}

int Settings::ReadProfileIndex()
{
    const QByteArray text = PrivateProfile::readLayered(g_strConfigFile, g_strConfigDefaults,
                                                        kSection, "CProID", "0", 8);
    return std::atoi(text.constData());
}

void Settings::WriteProfileChoice(int index, const QByteArray& name)
{
    PrivateProfile::writeString(g_strConfigFile, kSection, "CProID", QByteArray::number(index));
    PrivateProfile::writeString(g_strConfigFile, kSection, CProfileManager::kChosenNameKey, name);
}

void Settings::WriteOutput(const QString& folder)
{
    PrivateProfile::writeString(g_strConfigFile, kSection, "Output", folder.toLocal8Bit());
}

int Settings::MaxSimultaneous()
{
    return std::clamp(QThread::idealThreadCount(), 1, 8);
}

int Settings::ReadSimultaneous()
{
    const QByteArray text = PrivateProfile::readLayered(g_strConfigFile, g_strConfigDefaults,
                                                        kSection, "Simultaneous", "1", 8);
    bool number = false;
    const int count = text.trimmed().toInt(&number);
    return number && count >= 1 && count <= MaxSimultaneous() ? count : 1;
}

void Settings::WriteSimultaneous(int count)
{
    PrivateProfile::writeString(g_strConfigFile, kSection, "Simultaneous",
                                QByteArray::number(count));
}

bool Settings::ReadKeepGoing()
{
    return PrivateProfile::readLayered(g_strConfigFile, g_strConfigDefaults, kSection, "KeepGoing",
                                       "0", 8) == "1";
}

void Settings::WriteKeepGoing(bool keepGoing)
{
    PrivateProfile::writeString(g_strConfigFile, kSection, "KeepGoing", keepGoing ? "1" : "0");
}
