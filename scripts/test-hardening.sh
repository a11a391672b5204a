#!/usr/bin/env bash
# Hardening stage of the test command:
#   1. every native test built with AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-asan), any report fatal;
#   2. each fuzz target built with clang and libFuzzer (build-fuzz) and run from its
#      seed corpus for FUZZ_SECONDS (default 60); a crash, a sanitizer report or a
#      broken property fails the stage.
#
# Longer fuzzing, on its own:      FUZZ_SECONDS=600 scripts/fuzz.sh
# One target only:                 FUZZ_SECONDS=600 scripts/fuzz.sh fuzz_drs_lookup
# Inputs found on the way stay in build-fuzz/corpus/<target>; crashes in
# build-fuzz/artifacts/<target>/ (replay one: build-fuzz/fuzz/<target> FILE).
set -uo pipefail
cd "$(dirname "$0")/.."

jobs="$(nproc)"
fuzz_seconds="${FUZZ_SECONDS:-60}"
passed=0
failed=0
failures=()

pass() { passed=$((passed + 1)); echo "PASS $1"; }
fail() { failed=$((failed + 1)); failures+=("$1"); echo "FAIL $1"; }

sanitizer_stage() {
  echo "--- sanitizers: build-asan"
  export ASAN_OPTIONS="abort_on_error=0:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  if cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVENEK_SANITIZE=ON &&
     cmake --build build-asan -j"$jobs" &&
     ctest --test-dir build-asan --output-on-failure -j"$jobs"; then
    pass "sanitizer build and tests"
  else
    fail "sanitizer build and tests"
  fi
}

fuzz_stage() {
  echo "--- fuzzing: build-fuzz, ${fuzz_seconds} s per target"
  local targets=("$@")
  if [ ${#targets[@]} -eq 0 ]; then
    for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
  fi
  if ! CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DTOLVENEK_FUZZ=ON -DBUILD_TESTING=OFF ||
     ! cmake --build build-fuzz -j"$jobs" --target "${targets[@]}"; then
    fail "fuzz build"
    return
  fi
  for target in "${targets[@]}"; do
    local binary="build-fuzz/fuzz/$target"
    local work="build-fuzz/corpus/$target"
    local artifacts="build-fuzz/artifacts/$target/"
    local log="build-fuzz/$target.log"
    if [ ! -x "$binary" ]; then
      fail "$target (not built)"
      continue
    fi
    mkdir -p "$work" "$artifacts"
    # New inputs go to the scratch corpus; the checked-in seeds are only read.
    if "$binary" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
         -print_final_stats=1 -artifact_prefix="$artifacts" "$work" "fuzz/corpus/$target" \
         >"$log" 2>&1; then
      local runs speed
      runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
      speed="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
      pass "$target: ${fuzz_seconds} s, ${runs:-?} runs, ${speed:-?} exec/s"
    else
      tail -n 40 "$log"
      fail "$target (see $log and $artifacts)"
    fi
  done
}

if [ "${1:-}" = "--fuzz-only" ]; then
  shift
  fuzz_stage "$@"
else
  sanitizer_stage
  fuzz_stage
fi

for failure in "${failures[@]}"; do echo "failed: $failure"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
