#!/usr/bin/env bash
# After scripts/coverage.sh: runs every test case on its own in the coverage
# build and lists the cases that cover no line or branch of src/ (without
# src/ui) that another case does not, each with a case that covers all it
# does. A case in that list takes a path others take too; read it before
# calling it a repeat, since it may check values the others do not.
#   scripts/coverage-per-test.sh            measure (about a second a case) and list
#   scripts/coverage-per-test.sh --report   list the last measurement again
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build_dir=$root/${COVERAGE_DIR:-build-coverage}
out=$build_dir/per-test
[ -d "$build_dir/bin" ] || { echo "coverage-per-test.sh: run scripts/coverage.sh first" >&2; exit 1; }

run_case() {  # NUMBER PROGRAM CASE
  local dir=$out/$1 suite=${3%%.*}
  suite=${suite#*/}
  # The case's own test file holds the inline code it calls directly.
  local own
  own=$(grep -rlE "TEST(_F|_P)?\\($suite," "$root/tests" | head -1)
  own=$(basename "${own:-none}")
  rm -rf "$dir" && mkdir -p "$dir"
  (cd "$build_dir/tests" && GCOV_PREFIX="$dir/counters" GCOV_PREFIX_STRIP=0 QT_QPA_PLATFORM=offscreen \
     timeout 300 "$2" --gtest_filter="$3" >"$dir/log" 2>&1) || echo "$3" >"$dir/failed"
  [ -d "$dir/counters" ] || { : >"$dir/covered"; return; }
  find "$dir/counters" -name '*.gcda' | grep -E "/src/|/support/|/$own\\.gcda\$" | grep -v '/src/ui/' |
    while read -r counters; do
      local notes=${counters#"$dir/counters"}
      ln -sf "${notes%.gcda}.gcno" "${counters%.gcda}.gcno"
      (cd "$(dirname "$counters")" && gcov --json-format --stdout --branch-probabilities "$(basename "$counters")" 2>/dev/null)
    done | python3 "$root/scripts/coverage-per-test.py" covered >"$dir/covered"
  rm -rf "$dir/counters"
}
export -f run_case
export out build_dir root

if [ "${1:-}" != "--report" ]; then
  rm -rf "$out" && mkdir -p "$out"
  for program in "$build_dir"/bin/ondaris_*_tests; do
    (cd "$build_dir/tests" && QT_QPA_PLATFORM=offscreen "$program" --gtest_list_tests) |
      awk -v program="$program" '/^[^ ]/ {suite = $1; next} /^  / {print program, suite $1}'
  done | awk '{print NR - 1, $0}' >"$out/cases"
  xargs -P "${JOBS:-2}" -L 1 bash -c 'run_case "$@"' _ <"$out/cases"
fi
python3 "$root/scripts/coverage-per-test.py" report "$out"
