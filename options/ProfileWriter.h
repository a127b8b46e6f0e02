#pragma once

#include <QByteArray>
#include <QString>

struct Profile;

// Writes a profile as a profile file: "Main" with "Name", "SName", "Format" and "ExtName",
// "Parameter" with one access,reserved,value[,list] entry per option, holding the values as
// they are now (edited ones included). Any thread; touches only the given file.
namespace ProfileWriter {

// Writes `profile` under the catalogue name `name` to `path`, replacing the file; false (and
// `error` set) when a value cannot be written (a comma inside it) or the file cannot.
bool Write(const Profile& profile, const QByteArray& name, const QString& path, QString& error);

} // namespace ProfileWriter
