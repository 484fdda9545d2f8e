#!/usr/bin/env bash
# Builds Ondaris with coverage counters in build-coverage/, runs every test and
# prints the line and branch coverage of src/ without the widgets (src/ui) and
# without the three program entry points (thin argument handling around code
# that is measured).
#   scripts/coverage.sh            build, run the tests, print the summary
#   scripts/coverage.sh --report   print the summary of the last run again
#   COVERAGE_HTML=1 scripts/coverage.sh   also write build-coverage/coverage/index.html
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${COVERAGE_DIR:-build-coverage}

if [ "${1:-}" != "--report" ]; then
  BUILD_DIR="$build_dir" BUILD_TYPE=Debug scripts/build.sh \
    -DCMAKE_CXX_FLAGS="--coverage" -DCMAKE_EXE_LINKER_FLAGS="--coverage"
  # Counters of an earlier run would add to this one.
  find "$build_dir" -name '*.gcda' -delete
  # Each test program runs once as a whole: one process per test case (as
  # ctest runs them) would spend most of the time writing the counters.
  # COVERAGE_CTEST=1 runs them through ctest instead. A failing test still
  # leaves its counters; the summary is printed anyway.
  failed=0
  if [ -n "${COVERAGE_CTEST:-}" ]; then
    (cd "$build_dir" && QT_QPA_PLATFORM=offscreen ctest -j "${JOBS:-2}" --timeout 600 --output-on-failure) || failed=1
  else
    for program in "$PWD/$build_dir"/bin/ondaris_*_tests; do
      echo "== $(basename "$program")"
      (cd "$build_dir/tests" && QT_QPA_PLATFORM=offscreen "$program" --gtest_brief=1) || failed=1
    done
  fi
  [ "$failed" = 0 ] || echo "coverage.sh: some tests failed; the figures below include the runs that did" >&2
fi

html=()
if [ -n "${COVERAGE_HTML:-}" ]; then
  mkdir -p "$build_dir/coverage"
  html=(--html-details "$build_dir/coverage/index.html")
fi

# Branches the compiler adds for exception unwinding and for lines without
# source are left out: they hide the branches a test can actually choose.
gcovr --root . --object-directory "$build_dir" -j "${JOBS:-2}" \
  --exclude-directories "$build_dir/CMakeFiles" \
  --filter 'src/' \
  --exclude 'src/ui/' \
  --exclude 'src/sim/tool/' \
  --exclude 'src/app/qt/main\.cpp' \
  --exclude 'src/app/remote/ondaris_remote_main\.cpp' \
  --exclude-throw-branches --exclude-unreachable-branches \
  --print-summary --txt "$build_dir/coverage.txt" "${html[@]}" \
  | grep -E '^(lines|branches|functions):'
echo "per-file report: $build_dir/coverage.txt"
