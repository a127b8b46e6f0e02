#pragma once

#include <QString>

// Settings of config.ini, section "Config", held process-wide after start-up.
// Threads: written on the UI thread at start-up; read-only afterwards.
extern QString g_strConfigFile; // full path of config.ini
extern char g_szVersion[32];    // "version"
extern char g_szSoftName[128];  // "SoftName"
extern QString g_strOutput;     // "Output" as read at start-up, whole

namespace Settings {

// Forms g_strConfigFile beside the executable and reads "version" and "SoftName" into their
// cleared buffers, cut to fit, and "Output" whole (a folder is never cut: one too long for the
// system is refused when it is used). Never creates the file.
void ReadStartup();

// The title "%s %s" (product name, one blank, version), cut at 255 characters.
QString WindowTitle();

// Reads "CProID" (at most 7 characters) as atoi does: not a number reads 0.
int ReadProfileIndex();

// Writes "CProID" as decimal text; creates config.ini when absent.
void WriteProfileIndex(int index);

// Writes "Output" (the caller has removed a trailing separator).
void WriteOutput(const QString& folder);

// "KeepGoing": 1 when a failed file lets the batch go on with the next one; 0 (the default,
// and anything else) ends the batch at the first failure.
bool ReadKeepGoing();
// Writes "KeepGoing" as 1 or 0; creates config.ini when absent.
void WriteKeepGoing(bool keepGoing);

} // namespace Settings
