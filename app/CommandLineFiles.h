#pragma once

#include <QString>
#include <QStringList>

// The files the program is started with (a file manager's "Open with", or a terminal):
// absolute paths taken from `currentFolder`; arguments starting with '-' are options and are
// skipped, except after "--", which makes every later argument a file.
QStringList CommandLineFiles(const QStringList& arguments, const QString& currentFolder);
