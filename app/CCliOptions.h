#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The command line of the terminal program:
//   tovel-cli [--profile NAME] [--output DIR] [--overwrite] [--shutdown] [--keep-dates]
//             [--jobs N] [--dry-run] FILE|FOLDER...
//   tovel-cli --list-profiles
// "--name=value" works as well, and "--" ends the options so that a file may begin with '-'.
struct CCliOptions
{
    std::optional<QString> profile; // catalogue name; none: the "CProID" entry
    std::optional<QString> output;  // folder; none: "Output" of config.ini
    bool overwrite = false;
    bool shutdown = false;
    bool keepDates = false; // outputs get their input's modification time
    bool dryRun = false;    // print each row's command line, convert nothing
    int jobs = 1;           // rows converting at once
    bool help = false;
    bool listProfiles = false; // print every profile with its target and state, convert nothing
    QStringList files;         // files and folders
    QString error;             // not empty: the arguments were bad, and this says why

    // Parses `arguments` (without the program's own name).
    static constexpr int kMaxJobs = 32;

    static CCliOptions Parse(const QStringList& arguments);
};
