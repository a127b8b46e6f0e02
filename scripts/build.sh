#!/bin/sh
# Configures and builds into build/ (the runnable program lands in build/app/).
# Extra arguments go to CMake's configure step, e.g. -DTOVEL_WERROR=ON; they stay in build/'s
# cache for later runs.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build --parallel
