#!/usr/bin/env bash
# Runs the fuzz targets built in build-fuzz/ (bash scripts/test.sh --fuzz builds them and
# calls this), two at a time, each for SECONDS (60 by default). Each starts from its kept
# corpus, tests/fuzz/corpus/<target>/, which it never changes; the new inputs it finds go
# to build-fuzz/fuzz/<target>/nouveaux/ (emptied first), a crash or a failed property to
# build-fuzz/fuzz/<target>/crash-*, its output to build-fuzz/fuzz/<target>/journal.txt.
#   bash scripts/fuzz.sh [SECONDS [TARGET...]]     targets: unite nombre fichier_ini ...
set -euo pipefail
cd "$(dirname "$0")/.."

DUREE=${1:-60}
CIBLES=("${@:2}")
if ((${#CIBLES[@]} == 0)); then CIBLES=(unite nombre fichier_ini fichier_banc macro); fi
export ASAN_OPTIONS="abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

lance() {
  local dossier=build-fuzz/fuzz/$1
  rm -rf "$dossier"
  mkdir -p "$dossier/nouveaux"
  # -timeout: an input that takes this long is a fault too
  "build-fuzz/bin/fuzz_$1" -max_total_time="$DUREE" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$dossier/" "$dossier/nouveaux" "tests/fuzz/corpus/$1" \
    >"$dossier/journal.txt" 2>&1
}

# two cores: two at a time, the next one starting when the older one ends
pids=()
noms=()
echecs=()
attend() {
  if wait "${pids[0]}"; then
    echo "fuzz_${noms[0]}: $(grep -o 'stat::number_of_executed_units: *[0-9]*' \
      "build-fuzz/fuzz/${noms[0]}/journal.txt" | grep -o '[0-9]*$') inputs, nothing found"
  else
    echecs+=("${noms[0]}")
    echo "fuzz_${noms[0]}: FAILED (build-fuzz/fuzz/${noms[0]}/)"
    tail -n 60 "build-fuzz/fuzz/${noms[0]}/journal.txt"
  fi
  pids=("${pids[@]:1}")
  noms=("${noms[@]:1}")
}
for cible in "${CIBLES[@]}"; do
  ((${#pids[@]} < 2)) || attend
  lance "$cible" &
  pids+=($!)
  noms+=("$cible")
done
while ((${#pids[@]} > 0)); do attend; done

if ((${#echecs[@]} > 0)); then
  echo "fuzzing found faults in: ${echecs[*]}"
  exit 1
fi
