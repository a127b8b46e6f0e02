#pragma once

#include "ProfileProblem.h"

#include <QString>

// What is wrong with a profile file that the loader would pass over in silence: a line that is
// neither a section nor a key, an option name the table does not know, an entry the loader
// rejects, a value list without its enclosing braces. Any thread.
namespace ProfileLint {

// The first fault of `file` (a Malformed problem, "line N: ..."); none when it has none.
ProfileProblem Check(const QString& file);

} // namespace ProfileLint
