#!/bin/sh
# Installs what is missing, checks the formatting and the Windows sources, builds with every
# warning an error, runs every test (no display needed), the threaded ones again under
# ThreadSanitizer, then fuzzes briefly.
set -eu
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/check-format.sh
./scripts/check-windows-sources.sh
./scripts/build.sh -DTOVEL_WERROR=ON
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure --parallel 2 --timeout 900)

# The threaded suites again under ThreadSanitizer (build-tsan/).
./scripts/check-threads.sh

# The parsers' fuzz targets, about 30 s each, where clang and its libFuzzer are installed;
# TOVEL_FUZZ_SECONDS=0 leaves them out.
seconds=${TOVEL_FUZZ_SECONDS:-30}
if [ "$seconds" -gt 0 ] && command -v clang++ >/dev/null 2>&1 &&
    ls "$(clang++ -print-resource-dir)"/lib/linux/libclang_rt.fuzzer-*.a >/dev/null 2>&1; then
    ./tests/fuzz/run.sh "$seconds"
else
    echo "fuzz: skipped (no clang with libFuzzer, or TOVEL_FUZZ_SECONDS=0)"
fi
