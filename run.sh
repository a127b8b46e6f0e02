#!/bin/sh
# Installs what is missing, builds, and starts the program.
set -eu
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh
exec ./build/app/tovel "$@"
