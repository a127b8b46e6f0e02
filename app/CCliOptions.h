#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The command line of the terminal program:
//   tovel-cli [--profile NAME] [--output DIR] [--overwrite] [--shutdown] [--keep-dates]
//             [--jobs N] [--keep-going] [--dry-run] [--no-segments] [--restart]
//             [--skip-same-codec] [--keep-smaller] [--copy-if-larger] [--keep-tree]
//             [--name PATTERN] [--min-ssim X] FILE|FOLDER...
//   tovel-cli [the same options] --watch FOLDER
//   tovel-cli --list-profiles
//   tovel-cli --version
// "--name=value" works as well, and "--" ends the options so that a file may begin with '-'.
struct CCliOptions
{
    std::optional<QString> profile;     // catalogue name; none: the "CProID" entry
    std::optional<QString> output;      // folder; none: "Output" of config.ini
    std::optional<QString> namePattern; // none: "OutputName" of config.ini, else "{name}"
    std::optional<QString> watch;       // a folder whose arriving files convert; no FILE then
    bool overwrite = false;
    bool shutdown = false;
    bool keepDates = false;        // outputs get their input's modification time
    bool keepGoing = false;        // a failed file does not end the batch
    bool dryRun = false;           // print each row's command line, convert nothing
    bool noSegments = false;       // never cut a long video into segments
    bool restart = false;          // throw away the segments a stopped run kept
    bool skipSameCodec = false;    // skip files already in the profile's codec
    bool keepSmaller = false;      // never keep an output larger than its source
    bool keepTree = false;         // a folder's files convert into its sub-folders' mirror
    bool copySource = false;       // keep-smaller, with the source copied in the output's place
    std::optional<int> jobs;       // rows converting at once; none: "Simultaneous" of config.ini
    std::optional<double> minSsim; // a row measured below it fails (its file kept)
    bool help = false;
    bool version = false;      // print the name and version, convert nothing
    bool listProfiles = false; // print every profile with its target and state, convert nothing
    QStringList files;         // files and folders
    QString error;             // not empty: the arguments were bad, and this says why

    // Parses `arguments` (without the program's own name).
    static constexpr int kMaxJobs = 32;

    static CCliOptions Parse(const QStringList& arguments);
};
