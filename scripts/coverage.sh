#!/usr/bin/env bash
# Line and branch coverage of the product code by the test suites, from a
# build made with -DHPGL2_COVERAGE=ON whose tests have run. Prints the summary
# and fails when line coverage is below the threshold kept in
# .ci/coverage-threshold (raise it as coverage rises).
#   scripts/coverage.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:?usage: scripts/coverage.sh BUILD_DIR}
threshold=$(grep -v '^#' "$root/.ci/coverage-threshold" | head -n 1)
# Product code only: the tests, fuzz targets, benchmarks and generated
# sources in the build folder do not count. The report by file goes into the
# build folder: gcovr replaces its output file, which must never be a device.
gcovr --root "$root" --object-directory "$build" \
      --exclude "$root/tests/" --exclude "$root/fuzz/" --exclude "$root/bench/" \
      --exclude "$root/build[^/]*/" \
      --gcov-ignore-parse-errors \
      --print-summary --fail-under-line "$threshold" -o "$build/coverage.txt"
