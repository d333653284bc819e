#!/usr/bin/env bash
# Installs the dependencies, builds every preset and runs every test:
#   native       portable libraries and tools, their tests
#   native-asan  the same under AddressSanitizer/UndefinedBehaviorSanitizer, plus the fuzz runs
#   win32        the shipped i686 program and every Windows test and benchmark, run under 32-bit
#                Wine; then the program is checked as an artefact
#   win64        the same sources for x86_64: built (64-bit correctness), not run
# Ends with one summary line and a non-zero exit code when anything failed.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

if [ "$(id -u)" = 0 ]; then
  scripts/install-deps.sh || exit 1
else
  sudo scripts/install-deps.sh || exit 1
fi

passed=0 failed=0 broken=()
log_dir="$repo/build/logs"
mkdir -p "$log_dir"
failure_digest="$log_dir/failures.txt"
: >"$failure_digest"

build() {
  local preset=$1
  echo "== build $preset"
  cmake --preset "$preset" >"$log_dir/configure-$preset.log" 2>&1 \
    || { tail -n 40 "$log_dir/configure-$preset.log"; return 1; }
  cmake --build --preset "$preset" >"$log_dir/build-$preset.log" 2>&1 \
    || { grep -E -B2 -A12 'error|FAILED' "$log_dir/build-$preset.log" | head -n 80; return 1; }
}

# failed_test_output LOG: what ctest printed for each failed test (its output follows the result
# line until the next test starts or ends), the first 40 lines of each, so a failure on a CI
# machine can be told from the run's own end.
failed_test_output() {
  awk '
    /^ *([0-9]+\/[0-9]+ )?Test +#[0-9]+:/ { shown = /\*\*\*/; lines = 0; if (shown) print; next }
    /^ +Start +[0-9]+:/ || /tests passed, / { shown = 0; next }
    shown && lines++ < 40
  ' "$1"
}

# run_ctest PRESET: runs the preset's tests and adds its counts to the totals.
run_ctest() {
  local preset=$1 out summary total fails
  echo "== test $preset"
  out="$log_dir/test-$preset.log"
  # A test run again after a timeout reports its last run on a line without the count.
  ctest --preset "$preset" 2>&1 | tee "$out" \
    | grep -E '^\s*([0-9]+/[0-9]+ )?Test +#|tests passed|Errors while|\*\*\*' || true
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -n 1)
  if [ -z "$summary" ]; then
    echo "ctest $preset produced no summary"; tail -n 30 "$out"; broken+=("test-$preset"); return
  fi
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
  fails=$(sed -E 's/.*, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + total - fails)); failed=$((failed + fails))
  [ "$fails" = 0 ] && return
  broken+=("test-$preset")
  { echo "-- failed in $preset"; failed_test_output "$out"; } >>"$failure_digest"
}

for preset in native native-asan win32; do
  if build "$preset"; then run_ctest "$preset"; else broken+=("build-$preset"); fi
done

if [ -f build/win32/app/VQUpdate.exe ] && scripts/check-win32-artifact.sh build/win32/app/VQUpdate.exe; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); broken+=("win32-artefact")
fi

if build win64; then passed=$((passed + 1)); else failed=$((failed + 1)); broken+=("build-win64"); fi

echo
[ -s "$failure_digest" ] && { echo "== output of the failed tests"; cat "$failure_digest"; echo; }
[ ${#broken[@]} -eq 0 ] || echo "failed steps: ${broken[*]}"
echo "all presets: $passed passed, $failed failed"
[ ${#broken[@]} -eq 0 ]
