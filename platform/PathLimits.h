#pragma once

// How long a path this platform accepts, in bytes of its 8-bit file-name encoding.
namespace PathLimits {

// The longest whole path, without the terminating NUL.
int maxPathBytes();

// The longest single name within a path.
int maxNameBytes();

} // namespace PathLimits
