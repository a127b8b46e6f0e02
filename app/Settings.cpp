#include "Settings.h"

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

char g_szVersion[32];
char g_szSoftName[128];
QString g_strOutput;

namespace {

const QByteArray kSection = "Config";
// Far beyond any folder a system can hold, so that a long one is read whole and then refused.
const int kOutputBuffer = 65536;

template <size_t N> void copyInto(char (&buffer)[N], const QByteArray& value)
{
    std::memset(buffer, 0, N);
    std::memcpy(buffer, value.constData(), size_t(std::min<qsizetype>(value.size(), N - 1)));
}

} // namespace

Settings::Settings(const WriteLocations& where)
    : m_file(where.configFile()), m_defaults(where.configDefaults())
{
}

QByteArray Settings::read(const char* key, const QByteArray& fallback, int size) const
{
    return PrivateProfile::readLayered(m_file, m_defaults, kSection, key, fallback, size);
}

void Settings::write(const char* key, const QByteArray& value) const
{
    PrivateProfile::writeString(m_file, kSection, key, value);
}

void Settings::ReadStartup() const
{
    copyInto(g_szVersion,
             read("version", ProgramVersion::number().toLatin1(), int(sizeof g_szVersion)));
    copyInto(g_szSoftName, read("SoftName", "Tovel Video Converter", int(sizeof g_szSoftName)));
    g_strOutput = QString::fromLocal8Bit(
        read("Output", DefaultFolders::output().toLocal8Bit(), kOutputBuffer));
}

QString Settings::WindowTitle()
{
    char title[256];
    std::snprintf(title, sizeof title, "%s %s", g_szSoftName, g_szVersion);
    return QString::fromLocal8Bit(title);
}

int Settings::ReadProfileIndex() const
{
    return std::atoi(read("CProID", "0", 8).constData());
}

void Settings::WriteProfileChoice(int index, const QByteArray& name) const
{
    write("CProID", QByteArray::number(index));
    write(CProfileManager::kChosenNameKey, name);
}

void Settings::WriteOutput(const QString& folder) const
{
    write("Output", folder.toLocal8Bit());
}

int Settings::MaxSimultaneous()
{
    return std::clamp(QThread::idealThreadCount(), 1, 8);
}

int Settings::ReadSimultaneous() const
{
    bool number = false;
    const int count = read("Simultaneous", "1", 8).trimmed().toInt(&number);
    return number && count >= 1 && count <= MaxSimultaneous() ? count : 1;
}

void Settings::WriteSimultaneous(int count) const
{
    write("Simultaneous", QByteArray::number(count));
}

bool Settings::ReadKeepGoing() const
{
    return read("KeepGoing", "0", 8) == "1";
}

void Settings::WriteKeepGoing(bool keepGoing) const
{
    write("KeepGoing", keepGoing ? "1" : "0");
}

bool Settings::ReadSegments() const
{
    return read("Segments", "1", 8).trimmed() != "0";
}

void Settings::WriteSegments(bool allowed) const
{
    write("Segments", allowed ? "1" : "0");
}

bool Settings::ReadFlag(const char* key) const
{
    return read(key, "0", 8).trimmed() == "1";
}

void Settings::WriteFlag(const char* key, bool on) const
{
    write(key, on ? "1" : "0");
}

double Settings::ReadQualityFloor() const
{
    bool ok = false;
    const double floor = read("QualityFloor", "0.95", 16).trimmed().toDouble(&ok);
    return ok && floor >= 0 && floor < 1 ? floor : kDefaultQualityFloor;
}

void Settings::WriteQualityFloor(double floor) const
{
    write("QualityFloor", QByteArray::number(floor, 'g', 4));
}

QString Settings::ReadNamePattern() const
{
    return QString::fromLocal8Bit(read("OutputName", "{name}", 256));
}

void Settings::WriteNamePattern(const QString& pattern) const
{
    write("OutputName", pattern.toLocal8Bit());
}

QList<int> Settings::ReadColumnWidths() const
{
    QList<int> widths;
    for (const QByteArray& field : read("Columns", "", 64).split(',')) {
        bool number = false;
        const int width = field.trimmed().toInt(&number);
        if (!number || width <= 0 || width > 10000)
            return {};
        widths << width;
    }
    return widths;
}

void Settings::WriteColumnWidths(const QList<int>& widths) const
{
    QByteArrayList fields;
    for (const int width : widths)
        fields << QByteArray::number(width);
    write("Columns", fields.join(','));
}
