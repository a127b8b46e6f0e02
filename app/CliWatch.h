#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class CBatchConverter;
class CConsoleWriter;
class CProfileManager;
class CQuentaMediaCntl;
class CTerminalRows;
class CTraceLog;
class JobModel;

// tovel-cli --watch: converts every media file of a folder (and the folders below it) that has
// no output yet, then every file that arrives once it has stopped growing, until an interrupt
// or a termination request. A record in the user's state folder keeps a file from converting
// twice, across restarts too. Threads: the terminal's main thread.
namespace CliWatch {

struct Parts
{
    CQuentaMediaCntl& controller;
    const CProfileManager& profiles;
    QByteArray profileName;
    JobModel& model;
    CTerminalRows& rows;
    CBatchConverter& batch;
    CConsoleWriter& writer;
    CTraceLog& trace;
    QString outputFolder; // as the batch writes to it
    QString stateFolder;  // where the record is kept
    // Converts the rows, passing an interrupt on as Stop; true when one came.
    std::function<bool()> convert;
};

// Watches `folder` until told to end. Returns 0 when it ended between conversions, 1 when a
// file failed meanwhile, 130 when a conversion was cut short by the end.
int run(const QString& folder, const Parts& parts);

// How often the folder is looked at, in milliseconds; a file counts once it has not changed
// over one such wait.
inline constexpr int kLookEveryMs = 1000;

} // namespace CliWatch
