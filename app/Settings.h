#pragma once

#include <QString>

class WriteLocations;

// Settings of config.ini, section "Config", held process-wide after start-up.
// Threads: written on the UI thread at start-up; read-only afterwards.
extern QString g_strConfigFile;     // full path of the config.ini read first and written
extern QString g_strConfigDefaults; // config.ini a key g_strConfigFile lacks comes from; or empty
extern char g_szVersion[32];        // "version"
extern char g_szSoftName[128];      // "SoftName"
extern char g_szOutput[260];        // "Output" as read at start-up

namespace Settings {

// Takes the settings files of `where` into g_strConfigFile and g_strConfigDefaults and reads
// "version", "SoftName" and "Output" into their cleared buffers, cut to fit. Never creates a
// file.
void ReadStartup(const WriteLocations& where);
// As above with config.ini beside the executable alone.
void ReadStartup();

// The title "%s %s" (product name, one blank, version), cut at 255 characters.
QString WindowTitle();

// Reads "CProID" (at most 7 characters) as atoi does: not a number reads 0.
int ReadProfileIndex();

// Writes "CProID" as decimal text; creates config.ini when absent.
void WriteProfileIndex(int index);

// Writes "Output" (the caller has removed a trailing separator).
void WriteOutput(const QString& folder);

// The most rows the window converts at once: the machine's processors, at most 8.
int MaxSimultaneous();
// "Simultaneous": how many rows convert at once; 1 when absent, not a whole number, or
// outside 1..MaxSimultaneous().
int ReadSimultaneous();
// Writes "Simultaneous" as decimal text; creates config.ini when absent.
void WriteSimultaneous(int count);

} // namespace Settings
