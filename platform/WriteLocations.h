#pragma once

#include <QString>

// Where one run of the program writes: its settings (config.ini), its trace (trace.log), the
// script fallback (edit.avs and the numbered ones of parallel jobs) and the producer
// library's log. Beside the program when the user can write every one of them there (a build
// folder, a copy unpacked into a home folder) and it was not installed; otherwise in the user's own
// folders, where config.ini takes a key it lacks from the application folder's config.ini (a
// packager's defaults). Decided once per run by the program object and passed down; a plain value.
// Threads: made on the UI thread at start-up, read-only afterwards.
class WriteLocations
{
public:
    // Everything beside the program in `appFolder` (ending in a separator).
    static WriteLocations besideProgram(const QString& appFolder);
    // The user's folders whatever `appFolder` allows, made when missing; `why`, when not
    // empty, opens problem().
    static WriteLocations perUser(const QString& appFolder, const QString& why = QString());
    // This run's choice: the user's folders for an installed program (its folder holds the
    // install rules' mark), whoever runs it; else beside the program when the folder and each
    // file the program writes there can be written; the user's folders when none can; when only
    // some can, the user's folders too, so that nothing is written half-way, and problem() says
    // which are used.
    static WriteLocations decide(const QString& appFolder);

    bool isBesideProgram() const { return m_beside; }
    // The folder of the program and what ships with it, ending in a separator.
    QString appFolder() const { return m_appFolder; }
    // The config.ini the program reads first and writes.
    QString configFile() const { return m_configFile; }
    // The config.ini a key missing from configFile() is read from; empty beside the program.
    QString configDefaults() const { return m_configDefaults; }
    // The folder of trace.log, edit.avs and the producer's log, ending in a separator.
    QString writeFolder() const { return m_writeFolder; }
    // The trace file of this run.
    QString traceFile() const { return m_writeFolder + QStringLiteral("trace.log"); }
    // Where state kept between runs belongs (the trace's folder unless withWriteFolder moved
    // that), ending in a separator.
    QString stateFolder() const { return m_stateFolder; }
    // Where data the user makes belongs, ending in a separator: the application folder beside
    // the program, else the user's data folder, which is not made until someone writes there.
    QString dataFolder() const { return m_dataFolder; }
    // The same choice with trace.log, edit.avs and the producer's log in `folder` (ending in a
    // separator), where a process of its own writes them when another holds the state folder.
    WriteLocations withWriteFolder(const QString& folder) const;

    // What the user must be told once at start (a folder that cannot be made, an unreadable
    // settings file, a half-writable application folder); empty when all is well.
    QString problem() const { return m_problem; }

private:
    bool m_beside = true;
    QString m_appFolder;
    QString m_configFile;
    QString m_configDefaults;
    QString m_writeFolder;
    QString m_stateFolder;
    QString m_dataFolder;
    QString m_problem;
};
