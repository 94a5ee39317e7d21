#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build for a bounded time, one after another, each on one
# core. New inputs go to a scratch corpus in the build folder, never into the repository; an
# input that crashed, hung, leaked or ran out of memory is kept as a regression case of its
# target, which `make test` replays from then on. Fails when any target had a finding.
#   run_fuzz.sh BUILD_FOLDER SECONDS_PER_TARGET
set -uo pipefail

build=$(realpath "$1")
seconds=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
inputs=$source_dir/tests/fuzz
# A hang bound for one input, and the memory bound of the whole run (the unpacker alone takes
# 4 MB blocks).
timeout_seconds=10
rss_limit_mb=2048

failed=()
for program in "$build"/fuzz_*; do
  target=${program##*/fuzz_}
  work=$build/work/$target
  artifacts=$build/artifacts/$target
  log=$build/logs/$target.log
  mkdir -p "$work" "$artifacts" "$build/logs"
  rm -f "$artifacts"/*
  corpora=("$work" "$inputs/corpus/$target")
  [ -d "$inputs/regressions/$target" ] && corpora+=("$inputs/regressions/$target")

  "$program" "${corpora[@]}" -max_total_time="$seconds" -timeout="$timeout_seconds" \
    -rss_limit_mb="$rss_limit_mb" -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1
  status=$?
  # The last status line: executions, coverage (cov) and features (ft).
  summary=$(grep -E '^#[0-9]+' "$log" | tail -1)
  rate=$(grep -E '^stat::average_exec_per_sec' "$log" | awk '{print $2}')
  echo "fuzz $target: ${rate:-?} exec/s; $summary"

  found=("$artifacts"/*)
  if [ "$status" -ne 0 ] || [ -e "${found[0]}" ]; then
    mkdir -p "$inputs/regressions/$target"
    for case in "${found[@]}"; do
      [ -e "$case" ] && cp "$case" "$inputs/regressions/$target/" && echo "  kept ${case##*/} as tests/fuzz/regressions/$target/${case##*/}"
    done
    echo "  finding in $target (exit $status); see $log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz: no findings"
