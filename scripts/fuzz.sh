#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer with ASan and UBSan) in build-fuzz, replays each
# target's seed corpus, then fuzzes every target for SECONDS (default 60), all in parallel.
# Prints per target the executions and the findings; fails on any crash, leak, timeout or
# out-of-memory. A finding's input is kept in build-fuzz/achados/<target>/: fix the fault and
# commit that input into fuzz/corpus/<target>/. Needs the packages of scripts/setup.sh (clang).
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${ULMO_FUZZ_BUILD_DIR:-$here/build-fuzz}
jobs=$(nproc)

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DULMO_FUZZ=ON -DULMO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_targets -j "$jobs"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

targets=()
for dir in "$here"/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
logs="$build/logs"
rm -rf "$logs"
mkdir -p "$logs"

run_target() {
  local t=$1 bin="$build/bin/$1" seed="$here/fuzz/corpus/$1" work="$build/corpus/$1" found="$build/achados/$1/"
  mkdir -p "$work" "$found"
  # Every seed as it is first, the large regression inputs too (fuzzing reads at most -max_len).
  "$bin" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$found" "$seed"/* >"$logs/$t.seeds" 2>&1 || return 1
  "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 \
    -artifact_prefix="$found" "$work" "$seed" >"$logs/$t.log" 2>&1
}

pids=()
for t in "${targets[@]}"; do
  run_target "$t" &
  pids+=($!)
done

failed=0
printf '%-22s %12s  %s\n' target executions findings
for i in "${!targets[@]}"; do
  t=${targets[$i]}
  rc=0
  wait "${pids[$i]}" || rc=$?
  log="$logs/$t.log"
  [ -s "$log" ] || log="$logs/$t.seeds"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  finding=$(grep -ohE 'ERROR: (libFuzzer: [a-z -]+|LeakSanitizer|AddressSanitizer: [a-z-]+)|runtime error: .*|propriedade violada: .*|terminate called.*' \
    "$logs/$t.seeds" "$logs/$t.log" 2>/dev/null | head -1 || true)
  if [ "$rc" -ne 0 ]; then
    failed=1
    [ -n "$finding" ] || finding="exit $rc"
  else
    finding=${finding:-none}
  fi
  printf '%-22s %12s  %s\n' "$t" "${execs:-0}" "$finding"
done

if [ "$failed" -ne 0 ]; then
  echo "fuzz: findings above; inputs in $build/achados/, logs in $logs/" >&2
  exit 1
fi
