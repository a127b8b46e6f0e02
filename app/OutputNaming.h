#pragma once

#include <QString>
#include <functional>

// The rule that turns an input path into an output path. Paths use '/' as the separator.
namespace OutputNaming {

// The longest output path a job holds, in bytes of the 8-bit file-name encoding.
inline constexpr int kMaxJobPathBytes = 1024;

// folder + '/' (unless it ends with one) + the input's name up to its last '.' + '.' + ext;
// a name without an extension (after its last '/') is taken whole. Empty for an input that
// names no file (ends in '/'). Case and ext are kept as given.
QString BuildOutputPath(const QString& input, const QString& folder, const QString& extension);

// BuildOutputPath without the '.' and the extension; empty in the same case.
QString BuildOutputBase(const QString& input, const QString& folder);

// Says whether another row of the batch holds an output path.
using Taken = std::function<bool(const QString& path)>;

// The output path of one job. Overwrite takes BuildOutputPath as it is; otherwise the first
// free name of name.ext, name-0.ext, name-1.ext ... where free means no entry of that name or
// an empty regular file (reused). A name `taken` says another row holds is never used, in
// either mode: the numbering goes on past it. Looks at the file system.
QString FormOutputPath(const QString& input, const QString& folder, const QString& extension,
                       bool overwrite, const Taken& taken = {});

// True when `path` fits the job's field and this platform's limits on a path and on each name
// in it. An empty path fits (its conversion fails like any other).
bool OutputPathFits(const QString& path);

// True when an output folder is short enough to hold (the same limits as OutputPathFits);
// a longer one is refused whole, never cut.
bool OutputFolderFits(const QString& folder);

} // namespace OutputNaming
