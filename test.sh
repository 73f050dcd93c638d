#!/usr/bin/env bash
# Installs what is missing, builds, checks the formatting and runs every test:
# the sanitizer build of the engine and window tests, the thread sanitizer build of the import
# run's tests, a short fuzz run of the workbook reader and of the import run, the Debian package
# and its checks, then the full build's tests, ending with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
jobs=$(nproc)

echo "== formatting"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run --Werror

echo "== sanitizer build (engine, reader and window tests)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSETZAIKO_SANITIZE=ON \
      -DSETZAIKO_ENGINE_ONLY=OFF -DSETZAIKO_BENCH=OFF -DSETZAIKO_WERROR=ON >/dev/null
cmake --build build-asan --parallel "$jobs"
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure --parallel "$jobs" >build-asan/ctest.log 2>&1 \
    || { cat build-asan/ctest.log; exit 1; }
tail -n 3 build-asan/ctest.log

# The import run reads the later master sheet on a second thread, and the .xlsx reader inflates
# large parts, and reads a worksheet's values as the import takes them, on threads of their own:
# their tests, and imports of the committed workbooks, under ThreadSanitizer. Only tests that start no process run here.
echo "== thread sanitizer build (import run, read ahead, inflate ahead, worksheet feed, fixture imports)"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
      -DSETZAIKO_TSAN=ON -DSETZAIKO_ENGINE_ONLY=ON -DSETZAIKO_BENCH=OFF -DSETZAIKO_WERROR=ON \
      >/dev/null
cmake --build build-tsan --parallel "$jobs" --target setzaiko_engine_tests
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/sanitizers/tsan.supp" \
    build-tsan/tests/setzaiko_engine_tests --gtest_filter='ImportRun.*:FixtureImport.*:InflateAhead.*:XlsxHostile.TablesReadOnTwoThreads*:XlsxParts.SheetCellsHandOut*' \
    >build-tsan/tests.log 2>&1 || { cat build-tsan/tests.log; exit 1; }
tail -n 3 build-tsan/tests.log

echo "== fuzzing both workbook readers and the import run"
scripts/fuzz.sh 50

echo "== full build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSETZAIKO_WERROR=ON \
      -DSETZAIKO_BENCH=ON >/dev/null
cmake --build build --parallel "$jobs"

echo "== Debian package"
scripts/check-package.sh build-pkg

echo "== full build's tests"
ctest --test-dir build --output-on-failure --parallel "$jobs"
