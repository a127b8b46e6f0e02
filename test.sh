#!/bin/sh
# Installs what is missing, builds, and runs every test (no display needed).
set -eu
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --parallel 2 --timeout 900
