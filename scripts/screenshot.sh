#!/bin/sh
# Takes the README's picture of the real program: starts it under Xvfb with two generated
# clips in its list and grabs the screen with ffmpeg into docs/screenshot.png.
# Run after ./scripts/build.sh; needs xvfb-run and ffmpeg (both installed by install-deps.sh).
set -eu
cd "$(dirname "$0")/.."
out="${1:-docs/screenshot.png}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

ffmpeg -loglevel error -f lavfi -i testsrc=size=320x240:rate=25:duration=12 \
    -f lavfi -i sine=frequency=440:duration=12 -c:v mpeg4 -c:a mp3 "$work/holiday.avi"
ffmpeg -loglevel error -f lavfi -i testsrc2=size=640x360:rate=25:duration=95 \
    -c:v mpeg4 "$work/Interview take 2.mov"

mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 900x600x24" sh -c '
    ./build/app/tovel "$1" "$2" &
    pid=$!
    # The window needs a moment to come up and probe both files.
    sleep 4
    ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size 900x600 -i "$DISPLAY" \
        -frames:v 1 "$3"
    kill "$pid"
' sh "$work/holiday.avi" "$work/Interview take 2.mov" "$work/screen.png"

# Keep only the window: cut away the empty (black) screen around it.
crop=$(ffmpeg -loop 1 -i "$work/screen.png" -frames:v 3 -vf cropdetect=limit=0.01:round=2:skip=0 \
    -f null - 2>&1 |
    sed -n 's/.*crop=\([0-9:]*\).*/\1/p' | tail -1)
ffmpeg -loglevel error -y -i "$work/screen.png" -vf "crop=$crop" "$out"
echo "screenshot: $out"
