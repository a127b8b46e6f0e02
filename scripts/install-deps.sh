#!/bin/sh
# Installs every Debian package the build, the tests and the program need.
# Idempotent: packages already present are skipped, so a second run does nothing.
set -eu

PACKAGES="
build-essential cmake ninja-build pkg-config git clang-format g++-mingw-w64-x86-64-posix
clang libclang-rt-14-dev
qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev libqt6svg6 libgl-dev
qt6-qpa-plugins libqt6multimedia6 libqt6multimediawidgets6 qml6-module-qtmultimedia
googletest libgtest-dev libgmock-dev
ffmpeg libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
xvfb xauth fonts-dejavu-core dbus-daemon
help2man dpkg-dev file desktop-file-utils appstream
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    echo "install-deps: all packages present"
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

echo "install-deps: installing$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
