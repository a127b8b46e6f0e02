#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class WriteLocations;

// Values of config.ini, section "Config", read once at start-up and held process-wide.
// Threads: written on the UI thread at start-up; read-only afterwards.
extern char g_szVersion[32];   // "version"
extern char g_szSoftName[128]; // "SoftName"
extern QString g_strOutput;    // "Output" as read at start-up, whole

// The settings of one run, config.ini's section "Config": the file read first and written, and
// the one a key it lacks is read from. The program object makes it once from where the run
// writes and hands it to whatever reads or writes a setting.
// Threads: the UI thread; never read by a batch worker.
class Settings
{
public:
    // The settings files `where` names.
    explicit Settings(const WriteLocations& where);

    // The config.ini read first and written.
    const QString& configFile() const { return m_file; }
    // The config.ini a key configFile() lacks is read from; empty when there is none.
    const QString& configDefaults() const { return m_defaults; }

    // Reads "version" and "SoftName" into their cleared buffers, cut to fit, and "Output"
    // whole (a folder is never cut: one too long for the system is refused when it is used).
    // Never creates a file.
    void ReadStartup() const;

    // The title "%s %s" (product name, one blank, version), cut at 255 characters.
    static QString WindowTitle();

    // Reads "CProID" (at most 7 characters) as atoi does: not a number reads 0.
    int ReadProfileIndex() const;

    // Writes the chosen profile: its index as "CProID" (decimal text) and its `name` beside it
    // (CProfileManager::kChosenNameKey), which wins at the next start; creates config.ini when
    // absent.
    void WriteProfileChoice(int index, const QByteArray& name) const;

    // Writes "Output" (the caller has removed a trailing separator).
    void WriteOutput(const QString& folder) const;

    // The most rows the window converts at once: the machine's processors, at most 8.
    static int MaxSimultaneous();
    // "Simultaneous": how many rows convert at once; 1 when absent, not a whole number, or
    // outside 1..MaxSimultaneous().
    int ReadSimultaneous() const;
    // Writes "Simultaneous" as decimal text; creates config.ini when absent.
    void WriteSimultaneous(int count) const;
    // "KeepGoing": 1 when a failed file lets the batch go on with the next one; 0 (the default,
    // and anything else) ends the batch at the first failure.
    bool ReadKeepGoing() const;
    // Writes "KeepGoing" as 1 or 0; creates config.ini when absent.
    void WriteKeepGoing(bool keepGoing) const;
    // "Segments": 0 when a long video must never be cut into segments; anything else (the
    // default) lets the encoder tool cut it.
    bool ReadSegments() const;
    // Writes "Segments" as 1 or 0; creates config.ini when absent.
    void WriteSegments(bool allowed) const;
    // A switch of config.ini named `key` ("SkipSameCodec", "KeepSmaller", "KeepFolderTree"):
    // off unless "1".
    bool ReadFlag(const char* key) const;
    // Writes the switch `key` as 1 or 0; creates config.ini when absent.
    void WriteFlag(const char* key, bool on) const;
    // "OutputName": the pattern outputs are named by; "{name}" when none is kept.
    static constexpr double kDefaultQualityFloor = 0.95;
    // "QualityFloor": the SSIM below which a converted row is marked, 0 off; 0.95 when absent
    // or not a number from 0 to 1.
    double ReadQualityFloor() const;
    // Writes "QualityFloor"; creates config.ini when absent.
    void WriteQualityFloor(double floor) const;
    QString ReadNamePattern() const;
    void WriteNamePattern(const QString& pattern) const;
    // "Columns": the job list's column widths the user chose, as comma-separated pixels;
    // empty when none was chosen or the text is not such a list.
    QList<int> ReadColumnWidths() const;
    // Writes "Columns"; creates config.ini when absent.
    void WriteColumnWidths(const QList<int>& widths) const;

private:
    // `key` of the written file, else of the defaults, else `fallback`, as a buffer of `size`
    // bytes holds it.
    QByteArray read(const char* key, const QByteArray& fallback, int size) const;
    void write(const char* key, const QByteArray& value) const;

    QString m_file;
    QString m_defaults;
};
