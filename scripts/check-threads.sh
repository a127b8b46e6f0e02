#!/bin/sh
# Builds the threaded suites with ThreadSanitizer into build-tsan/ and runs them: the tool
# runner, the controller, the batch and the list control, plus a planted race that must be
# reported (so the step cannot pass by seeing nothing). The window's suite stays out for now:
# its preview reads a first frame through GStreamer on every selection, whose threads run in
# uninstrumented GStreamer, GLib and libav, and one report of the worker reading the output box
# text is not explained yet (see CONTRIBUTING.md).
set -eu
cd "$(dirname "$0")/.."
launcher=""
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
# shellcheck disable=SC2086
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVEL_TSAN=ON \
    -DTOVEL_BUILD_BENCH=OFF $launcher >/dev/null
cmake --build build-tsan --parallel --target common_tests batch_tests controls_tests \
    tsan_planted_race
cd build-tsan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 900 \
    -R '^(Tsan\.|EncoderRun|Controller|BatchTest|BatchJobsTest|CellListFixture\.Worker)'
