#!/bin/sh
# Builds the threaded suites with ThreadSanitizer into build-tsan/ and runs them: the tool
# runner, the controller, the batch, the admission worker, the list control's worker and the
# window's cases that run a batch (one and two lanes, Stop, failures, the end notice, closing
# while converting) or a long admission (cancelled, closed in the middle), plus a planted race
# that must be reported (so the step cannot pass by seeing nothing). The window's other cases
# admit a few files, on the same admission worker. Every window case starts GStreamer for the preview;
# tests/tsan.supp names the uninstrumented libraries whose reports are dropped.
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
    window_tests tsan_planted_race tsan_planted_queued_race
# The window's cases that run a batch or a long admission.
window='WindowTest\.(EncodeWithNoCheckedRowSaysSo|ConvertsTheCheckedRowsWithTheRealTool'
window="$window|AFailingRowEndsTheBatch|ASourceGoneBeforeEncodeFailsItsRowAndSaysWhy"
window="$window|GoingOnPastAFailureIsAPreferenceAndTheReasonIsInTheTooltip"
window="$window|EditsOfTheSelectedRowReachItsConversion|FoldersCopiedCommandsAndKeptDates"
window="$window|PauseBecomesResumeLeavesTheRestEditableAndResumeConvertsIt"
window="$window|AWatchedFolderAddsWhatArrivesAndConvertsItWhileNoBatchRuns"
window="$window|AThousandFileFolderIsAdded[A-Za-z]*)\$"
window="$window|HangingWindowTest\.|LanesWindowTest\.|NoticeWindowTest\.|UserProfilesTest\."
window="$window|UserFoldersWindowTest\.AProfileChoice|JobListRestoreTest\.RowsComeBack"
cd build-tsan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 900 \
    -R "^(Tsan\.|EncoderRun|Controller|BatchTest|BatchJobsTest|AdmissionWorkerTest|CellListFixture\.Worker|$window)"
