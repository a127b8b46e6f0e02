#!/bin/sh
# Compiles every Windows source of platform/ with Debian's MinGW-w64 cross compiler, so that
# the Windows build stays possible. Qt's Windows libraries are not on this machine, so this
# checks compilation (syntax and types against Qt's headers and the Windows API), not linking.
set -eu
cd "$(dirname "$0")/.."
cxx=x86_64-w64-mingw32-g++-posix
if ! command -v "$cxx" >/dev/null 2>&1; then
    echo "check-windows-sources: $cxx is missing (package g++-mingw-w64-x86-64-posix)" >&2
    exit 1
fi
qt=/usr/include/x86_64-linux-gnu/qt6
status=0
for source in platform/*_win.cpp; do
    if ! "$cxx" -std=c++20 -fsyntax-only -Wall -Wextra -Werror -DUNICODE -D_UNICODE \
        -isystem "$qt" -isystem "$qt/QtCore" -isystem "$qt/QtGui" -Iplatform "$source"; then
        echo "check-windows-sources: $source does not compile for Windows" >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "check-windows-sources: every Windows source of platform/ compiles"
exit "$status"
