#pragma once

#include <QString>

// The program's version, one number for the window title's default, --version and the
// package.
namespace ProgramVersion {

// The version, "1.0.1" style.
QString number();

// What `--version` prints for `program` ("tovel-cli"): its name, the product and the version.
QString line(const QString& program);

// True when the first of `arguments` (without the program's name) is --version.
bool asked(int argc, char* argv[]);

} // namespace ProgramVersion
