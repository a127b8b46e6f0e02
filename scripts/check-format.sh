#!/bin/sh
# Fails when a C++ file of the tree differs from what clang-format makes of it with the
# repository's .clang-format. tests/fuzz/seeds holds fuzzer inputs, not code.
# Fix what it names with: clang-format -i <file>...
set -eu
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
    echo "check-format: clang-format is missing (package clang-format)" >&2
    exit 1
fi
list=$(mktemp)
trap 'rm -f "$list"' EXIT
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # Tracked files and new ones not ignored, as they are in the working tree.
    git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' >"$list"
else
    find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print |
        sed 's|^\./||' >"$list"
fi
# Files that exist (a deleted file may still be listed), fuzzer inputs left out.
files=$(grep -v '^tests/fuzz/seeds/' "$list" | while IFS= read -r f; do
    if [ -f "$f" ]; then echo "$f"; fi
done)
count=$(printf '%s\n' "$files" | grep -c . || true)
rc=0
report=$(printf '%s\n' "$files" | xargs -d '\n' clang-format --dry-run --Werror 2>&1) || rc=$?
if [ "$rc" -ne 0 ]; then
    bad=$(printf '%s\n' "$report" |
        sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
    if [ -z "$bad" ]; then
        printf '%s\n' "$report" >&2
        echo "check-format: clang-format failed" >&2
        exit 1
    fi
    printf '%s\n' "$bad" | sed 's/^/check-format: not formatted: /' >&2
    echo "check-format: run clang-format -i on the files above" >&2
    exit 1
fi
echo "check-format: all $count C++ files formatted"
