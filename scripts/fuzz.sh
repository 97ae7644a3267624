#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for
# SECONDS seconds (default 10) on a copy of its seed corpus. Exits non-zero on
# any crash, leak, timeout, sanitizer report or broken invariant; prints the
# executions per second of every target.
#
#   scripts/fuzz.sh [SECONDS]
#
# FUZZ_TARGETS="fuzz_pattern fuzz_myinfo" limits the run to some targets;
# FUZZ_KEEP=1 keeps the work directory (grown corpora, crash inputs).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
SECONDS_PER_TARGET=${1:-10}
TARGETS=(${FUZZ_TARGETS:-fuzz_framing fuzz_myinfo fuzz_pattern fuzz_bot_command fuzz_settings fuzz_language})

scripts/deps.sh --fuzz

CC=clang CXX=clang++ BUILD_DIR=build-fuzz BUILD_TARGETS="${TARGETS[*]}" scripts/build.sh -DVARNEK_FUZZ=ON \
  -DVARNEK_BUILD_GUI=OFF -DVARNEK_BUILD_TESTS=OFF -DVARNEK_BUILD_BENCH=OFF

WORK=$(mktemp -d "${TMPDIR:-/tmp}/varnek-fuzz.XXXXXX")
if [[ "${FUZZ_KEEP:-0}" != 1 ]]; then
  trap 'rm -rf "$WORK"' EXIT
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
summary=()
for target in "${TARGETS[@]}"; do
  dir="$WORK/$target"
  mkdir -p "$dir/corpus" "$dir/artifacts"
  cp fuzz/corpus/"$target"/* "$dir/corpus/"
  echo "== $target (${SECONDS_PER_TARGET} s)"
  status=0
  (cd "$dir" && "$ROOT/build-fuzz/bin/$target" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=artifacts/ corpus >log 2>&1) || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log")
  files=$(find "$dir/corpus" -type f | wc -l)
  bytes=$(cat "$dir/corpus"/* | wc -c)
  summary+=("$(printf '%-18s %8s runs %8s exec/s  corpus %5s files %8s bytes' "$target" "${runs:-?}" \
    "${rate:-?}" "$files" "$bytes")")
  if ((status != 0)) || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY:' "$dir/log"; then
    failed+=("$target")
    echo "!! $target failed; its log:"
    tail -n 60 "$dir/log"
    ls "$dir/artifacts"
  fi
done

echo "== summary"
printf '%s\n' "${summary[@]}"
if ((${#failed[@]} > 0)); then
  echo "FAILED: ${failed[*]} (inputs in $WORK/<target>/artifacts)"
  trap - EXIT
  exit 1
fi
