#!/bin/sh
# Configures and builds into build/ (the runnable program lands in build/app/).
# Extra arguments go to CMake's configure step, e.g. -DTOVEL_WERROR=ON; they stay in build/'s
# cache for later runs. Compiles through ccache when it is installed.
set -eu
cd "$(dirname "$0")/.."
launcher=""
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
# shellcheck disable=SC2086
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $launcher "$@" >/dev/null
cmake --build build --parallel
