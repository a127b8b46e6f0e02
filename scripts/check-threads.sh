#!/bin/sh
# Builds the threaded suites with ThreadSanitizer into build-tsan/ and runs them: the tool
# runner, the controller, the batch, the list control and the window's batch (Encode with one
# and with two lanes, Stop, failures, the end notice, closing while converting), plus a planted
# race that must be reported (so the step cannot pass by seeing nothing). The window's other
# cases stay out: they add no thread of ours. Every window case starts GStreamer for the
# preview; tests/tsan.supp says which uninstrumented libraries' reports are dropped.
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
    window_tests tsan_planted_race
# The window cases of tests/app/MainWindowBatchTest.cpp that run a batch.
window_batch='EncodeWithNoCheckedRowSaysSo|ConvertsTheCheckedRowsWithTheRealTool|AFailingRowEndsTheBatch'
window_batch="$window_batch|ASourceGoneBeforeEncodeFailsItsRowAndSaysWhy|EditsOfTheSelectedRowReachItsConversion"
window_batch="$window_batch|GoingOnPastAFailureIsAPreferenceAndTheReasonIsInTheTooltip"
window_batch="$window_batch|FoldersCopiedCommandsAndKeptDates"
cd build-tsan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 900 \
    -R "^(Tsan\.|EncoderRun|Controller|BatchTest|BatchJobsTest|CellListFixture\.Worker|WindowTest\.($window_batch)\$|HangingWindowTest\.|LanesWindowTest\.|NoticeWindowTest\.)"
