#!/usr/bin/env bash
# The whole test suite: builds and runs every test, then again under
# AddressSanitizer and UndefinedBehaviorSanitizer, the threaded code's suites
# under ThreadSanitizer, and runs each fuzz target for a bounded time.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

FUZZ_SECONDS=${FUZZ_SECONDS:-20}
status=0

echo "== tests (Debug, with line and branch coverage)"
# (Without the Windows suite, which its own stage below runs.)
hpgl2_build "$HPGL2_ROOT/build-test" -DCMAKE_BUILD_TYPE=Debug -DHPGL2_WERROR=ON -DHPGL2_COVERAGE=ON \
  -DHPGL2_WINDOWS_BUILD_DIR=
find "$HPGL2_ROOT/build-test" -name '*.gcda' -delete
(cd "$HPGL2_ROOT/build-test" && ctest --output-on-failure -j 2) || status=1
bash "$HPGL2_ROOT/scripts/coverage.sh" "$HPGL2_ROOT/build-test" || status=1

echo "== tests (Release, as packagers and users build)"
hpgl2_build "$HPGL2_ROOT/build-release" -DCMAKE_BUILD_TYPE=Release -DHPGL2_WERROR=ON
(cd "$HPGL2_ROOT/build-release" && ctest --output-on-failure -j 2) || status=1

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
hpgl2_build "$HPGL2_ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DHPGL2_SANITIZE=ON -DHPGL2_WERROR=ON
(cd "$HPGL2_ROOT/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure -j 2) || status=1

echo "== threaded code under ThreadSanitizer"
# Only the suites of the threads and what they touch (the Win32 subset's
# threads, events and dialogs; the progress thread): the rest has no threads
# of its own, and building it instrumented would only cost CI time.
tsan_dir="$HPGL2_ROOT/build-tsan"
cmake -S "$HPGL2_ROOT" -B "$tsan_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHPGL2_TSAN=ON \
  -DHPGL2_WERROR=ON >/dev/null
cmake --build "$tsan_dir" -j "$(nproc)" --target test_platform test_render
# The suites' TSAN_OPTIONS (halting on the first report, the suppressions of
# uninstrumented libraries) come with the tests, from tests/CMakeLists.txt.
(cd "$tsan_dir" && ctest --output-on-failure -j 2 -R '^(platform|render)$') || status=1

echo "== the Windows build under Wine"
# The 64-bit products (built once), run under wine64 beside the Linux host
# of the Debug build; the suite stops the Wine server it started.
windows_start=$(date +%s)
windows_log="$HPGL2_ROOT/build-win64/windows-build.log"
mkdir -p "$HPGL2_ROOT/build-win64"
if bash "$HPGL2_ROOT/scripts/windows-build.sh" win64 >"$windows_log" 2>&1; then
  cmake -S "$HPGL2_ROOT" -B "$HPGL2_ROOT/build-test" \
    -DHPGL2_WINDOWS_BUILD_DIR="$HPGL2_ROOT/build-win64" >/dev/null
  cmake --build "$HPGL2_ROOT/build-test" -j "$(nproc)" --target test_windows
  (cd "$HPGL2_ROOT/build-test" && ctest --output-on-failure -R '^windows$') || status=1
else
  tail -40 "$windows_log"; echo "Windows build FAILED"; status=1
fi
echo "Windows stage: $(($(date +%s) - windows_start)) s"

echo "== fuzz targets, ${FUZZ_SECONDS} s each"
CC=clang CXX=clang++ hpgl2_build "$HPGL2_ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHPGL2_FUZZ=ON -DHPGL2_TESTS=OFF
for fuzzer in "$HPGL2_ROOT"/build-fuzz/bin/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer" | sed 's/^fuzz_//')
  corpus=$(mktemp -d)
  [ -d "$HPGL2_ROOT/fuzz/corpus/$name" ] && cp "$HPGL2_ROOT/fuzz/corpus/$name"/* "$corpus"/
  if "$fuzzer" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 -print_final_stats=0 \
       "$corpus" >"$corpus.log" 2>&1; then
    echo "fuzz_$name: no crash in ${FUZZ_SECONDS} s"
  else
    echo "fuzz_$name: FAILED"; tail -40 "$corpus.log"; status=1
  fi
  rm -rf "$corpus" "$corpus.log"
done

if [ "$status" -eq 0 ]; then echo "All tests passed"; else echo "Some tests FAILED"; fi
exit "$status"
