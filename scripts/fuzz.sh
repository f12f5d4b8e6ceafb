#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a
# while on its corpus in fuzz/corpus/.  Installs nothing.
#
#   scripts/fuzz.sh [--keep] [seconds-per-target] [target...]
#
# --keep merges what the run found into fuzz/corpus/ (minimised; the seed-*
# files stay).  Exits non-zero when a target crashes, naming the reproducer.
set -euo pipefail
cd "$(dirname "$0")/.."

all_targets=(fuzz_cp932 fuzz_profile fuzz_completion fuzz_auto_number fuzz_key_text fuzz_renumber fuzz_move)
keep=0
seconds=30
targets=()
for arg in "$@"; do
  case "$arg" in
    --keep) keep=1 ;;
    fuzz_*) targets+=("$arg") ;;
    '' | *[!0-9]*)
      echo "usage: $0 [--keep] [seconds-per-target] [target...]" >&2
      exit 2
      ;;
    *) seconds=$arg ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

for tool in clang clang++ cmake ninja; do
  command -v "$tool" >/dev/null || { echo "fuzz.sh: $tool is missing" >&2; exit 2; }
done

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKAVRIN_BUILD_FUZZ=ON -DKAVRIN_BUILD_TESTS=OFF -DKAVRIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Keeps a kept corpus small enough to commit.
max_kept=300
failed=0
for target in "${targets[@]}"; do
  fuzzer=$PWD/$build/fuzz/$target
  corpus=$PWD/fuzz/corpus/$target
  run=$PWD/$build/runs/$target
  rm -rf "$run"
  mkdir -p "$run/found" "$run/artifacts" "$corpus"
  log=$run/fuzz.log
  echo "== $target: ${seconds}s"
  # New inputs go to found/; the committed corpus is only read.
  if "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$run/artifacts/" "$run/found" "$corpus" >"$log" 2>&1; then
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "   ${execs:-?} executions, $(ls "$run/found" | wc -l) new inputs"
  else
    failed=1
    echo "   CRASHED; log: $log" >&2
    grep -E 'invariant failed|ERROR: |runtime error' "$log" | head -5 >&2 || true
    for reproducer in "$run"/artifacts/*; do
      [ -e "$reproducer" ] || continue
      echo "   reproducer: $reproducer  (rerun: $fuzzer $reproducer)" >&2
    done
    continue
  fi
  if [ "$keep" = 1 ]; then
    merged=$run/merged
    # Into a fresh folder that starts with the seeds; when that keeps too
    # many files, the set-cover merge finds fewer with the same coverage.
    for how in merge set_cover_merge; do
      rm -rf "$merged"
      mkdir -p "$merged"
      cp "$corpus"/seed-* "$merged"/ 2>/dev/null || true
      "$fuzzer" -"$how"=1 -timeout=10 -rss_limit_mb=4096 "$merged" "$corpus" "$run/found" \
        >"$run/$how.log" 2>&1
      count=$(ls "$merged" | wc -l)
      [ "$count" -gt "$max_kept" ] || break
    done
    if [ "$count" -gt "$max_kept" ]; then
      echo "   merged corpus has $count files, more than $max_kept: not kept" >&2
    else
      rm -f "$corpus"/*
      cp "$merged"/* "$corpus"/
      echo "   corpus kept: $count files, $(du -sb "$corpus" | cut -f1) bytes"
    fi
  fi
done
exit "$failed"
