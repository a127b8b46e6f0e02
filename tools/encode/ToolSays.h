#pragma once

#include <QString>

// What the tool tells the converter besides its progress: one line on standard error each, which
// the converter records in trace.log and takes its failure reasons from. Main thread of the tool.
namespace ToolSays {

// Writes `line` and a line feed at once.
void line(const QString& line);

// Removes the output of a conversion that did not give what was asked (only a file: a device or
// a folder named as the output is not ours to remove) and says why, and that it was removed.
void discard(const QString& output, const QString& fault);

} // namespace ToolSays
