#!/bin/sh
# Builds the Debian package tovel_<version>_<arch>.deb into OUTDIR (default: the current
# folder) with CPack: a release build of the program alone in build-package/, installed under
# /usr. Install it with: sudo apt install ./tovel_*.deb
# TOVEL_PACKAGE_FROM=<build folder> packages that built tree as it stands instead (the
# package test does, to spare a second build).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-.}
mkdir -p "$out"
out=$(cd "$out" && pwd)

if [ -n "${TOVEL_PACKAGE_FROM:-}" ]; then
    build=$TOVEL_PACKAGE_FROM
else
    build="$root/build-package"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DTOVEL_BUILD_TESTS=OFF -DTOVEL_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" --parallel
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
for deb in "$work"/*.deb; do
    cp "$deb" "$out/"
    echo "$out/$(basename "$deb")"
done
