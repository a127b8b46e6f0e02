#pragma once

#include <QString>

class WriteLocations;

// Settings of config.ini, section "Config", held process-wide after start-up.
// Threads: written on the UI thread at start-up; read-only afterwards.
extern QString g_strConfigFile;     // full path of the config.ini read first and written
extern QString g_strConfigDefaults; // config.ini a key g_strConfigFile lacks comes from; or empty
extern char g_szVersion[32];        // "version"
extern char g_szSoftName[128];      // "SoftName"
extern QString g_strOutput;         // "Output" as read at start-up, whole

namespace Settings {

// Takes the settings files of `where` into g_strConfigFile and g_strConfigDefaults and reads
// "version" and "SoftName" into their cleared buffers, cut to fit, and "Output" whole (a
// folder is never cut: one too long for the system is refused when it is used). Never creates
// a file.
void ReadStartup(const WriteLocations& where);
// As above with config.ini beside the executable alone.
void ReadStartup();

// The title "%s %s" (product name, one blank, version), cut at 255 characters.
QString WindowTitle();

// Reads "CProID" (at most 7 characters) as atoi does: not a number reads 0.
int ReadProfileIndex();

// Writes the chosen profile: its index as "CProID" (decimal text) and its `name` beside it
// (CProfileManager::kChosenNameKey), which wins at the next start; creates config.ini when absent.
void WriteProfileChoice(int index, const QByteArray& name);

// Writes "Output" (the caller has removed a trailing separator).
void WriteOutput(const QString& folder);

// The most rows the window converts at once: the machine's processors, at most 8.
int MaxSimultaneous();
// "Simultaneous": how many rows convert at once; 1 when absent, not a whole number, or
// outside 1..MaxSimultaneous().
int ReadSimultaneous();
// Writes "Simultaneous" as decimal text; creates config.ini when absent.
void WriteSimultaneous(int count);
// "KeepGoing": 1 when a failed file lets the batch go on with the next one; 0 (the default,
// and anything else) ends the batch at the first failure.
bool ReadKeepGoing();
// Writes "KeepGoing" as 1 or 0; creates config.ini when absent.
void WriteKeepGoing(bool keepGoing);

} // namespace Settings
