#!/usr/bin/env bash
# Runs every fuzz target that the fuzz build lists, one after another, each for
# the given number of seconds, starting from its seed corpus in fuzz/corpus/.
# New inputs go to <build>/corpus/<target>/ (the seeds are never touched),
# crashing inputs to <build>/crashes/. Fails when any target finds something.
#   scripts/run-fuzzers.sh <fuzz build folder> <seconds>
set -u
cd "$(dirname "$0")/.."
build=${1:?fuzz build folder}
seconds=${2:-30}
listing="$build/fuzz/fuzz_targets.txt"
[ -f "$listing" ] || { echo "No $listing: build the fuzz targets first." >&2; exit 1; }

failed=""
summary=""
while read -r name program; do
  [ -n "$name" ] || continue
  corpus="$build/corpus/$name"
  mkdir -p "$corpus" "$build/crashes" "$build/logs"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  log="$build/logs/$name.log"
  echo "== $name: ${seconds}s"
  "$program" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/crashes/$name-" "$corpus" "${seeds[@]}" </dev/null >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ "$status" -eq 0 ]; then
    result="no findings"
  else
    result="FOUND A FAULT (exit $status), see $log"
    failed="$failed $name"
    grep -E "^==[0-9]+==ERROR|runtime error|deadly signal|Test unit written" "$log" | head -5
  fi
  line=$(printf '%-20s %12s runs %8s runs/s  %s' "$name" "${runs:-?}" "${rate:-?}" "$result")
  echo "$line"
  summary="$summary$line"$'\n'
done <"$listing"

echo
echo "Fuzzing summary (${seconds}s per target):"
printf '%s' "$summary"
if [ -n "$failed" ]; then
  echo "Targets with findings:$failed" >&2
  exit 1
fi
