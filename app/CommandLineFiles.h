#pragma once

#include <QString>
#include <QStringList>

// The files the program is started with (a file manager's "Open with", or a terminal):
// absolute paths taken from `currentFolder`. "--" makes every later argument a file; before it,
// an argument starting with '-' is a file when a file of that name exists, else an option the
// window does not know, listed in `unknown` when given.
QStringList CommandLineFiles(const QStringList& arguments, const QString& currentFolder,
                             QStringList* unknown = nullptr);

// True when the window's arguments (without the program's name) ask for its usage.
bool CommandLineAsksHelp(const QStringList& arguments);

// What `tovel --help` prints.
QString CommandLineUsage();
