#!/bin/sh
# Takes the README's pictures of the real program: starts it under Xvfb with two generated
# clips in its list and grabs the screen with ffmpeg, once at the window's own size into
# docs/screenshot.png and once filling a 1280x800 screen, as maximised, into
# docs/screenshot-maximised.png.
# Run after ./scripts/build.sh; needs xvfb-run and ffmpeg (both installed by install-deps.sh).
set -eu
cd "$(dirname "$0")/.."
out="${1:-docs/screenshot.png}"
wide="${2:-docs/screenshot-maximised.png}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

ffmpeg -loglevel error -f lavfi -i testsrc=size=320x240:rate=25:duration=12 \
    -f lavfi -i sine=frequency=440:duration=12 -c:v mpeg4 -c:a mp3 "$work/holiday.avi"
ffmpeg -loglevel error -f lavfi -i testsrc2=size=640x360:rate=25:duration=95 \
    -c:v mpeg4 "$work/Interview take 2.mov"

# shoot SCREEN PICTURE [QT-OPTIONS...]: the whole screen with the program on it.
shoot() {
    screen=$1
    picture=$2
    shift 2
    xvfb-run -a -s "-screen 0 ${screen}x24" sh -c '
        screen=$1 picture=$2 first=$3 second=$4
        shift 4
        ./build/app/tovel "$@" "$first" "$second" &
        pid=$!
        # The window needs a moment to come up and probe both files.
        sleep 4
        ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size "$screen" -i "$DISPLAY" \
            -frames:v 1 "$picture"
        kill "$pid"
        wait "$pid" || true
    ' sh "$screen" "$picture" "$work/holiday.avi" "$work/Interview take 2.mov" "$@"
}

# The program is killed after each picture, so it keeps its job list for a restore offer;
# the pictures show a first start.
forget() { rm -f build/app/joblist.json; }
mkdir -p "$(dirname "$out")" "$(dirname "$wide")"
forget
shoot 900x600 "$work/screen.png"
forget
# Keep only the window: cut away the empty (black) screen around it.
crop=$(ffmpeg -loop 1 -i "$work/screen.png" -frames:v 3 -vf cropdetect=limit=0.01:round=2:skip=0 \
    -f null - 2>&1 |
    sed -n 's/.*crop=\([0-9:]*\).*/\1/p' | tail -1)
ffmpeg -loglevel error -y -i "$work/screen.png" -vf "crop=$crop" "$out"
echo "screenshot: $out"

# Xvfb runs no window manager to maximise the window: Qt's own option gives it the screen.
shoot 1280x800 "$wide" -qwindowgeometry 1280x800+0+0
forget
echo "screenshot: $wide"
