#!/usr/bin/env bash
# Installs what is needed, builds everything and runs all tests.
#   bash scripts/test.sh              release build in build/
#   bash scripts/test.sh --sanitize   address + undefined sanitizers in build-asan/
#   bash scripts/test.sh --thread     thread sanitizer in build-tsan/: the programs whose
#                                     code runs on the device thread, and the window's
#   bash scripts/test.sh --fuzz       the fuzz targets in build-fuzz/ (clang, libFuzzer, address
#                                     and undefined sanitizers): their kept corpus, then each
#                                     fuzzed for 60 s (scripts/fuzz.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# Only these are built and run under the thread sanitizer; their tests carry their names
# as ctest labels.
PROGRAMMES_FIL=(tests_simulator tests_quilink tests_quilink_externe tests_generators
                tests_device tests_app)
CIBLES=()
FILTRE=()
FUZZ=0

case "${1:-}" in
  --sanitize)
    DOSSIER=build-asan
    OPTIONS=(-DCMAKE_BUILD_TYPE=Debug -DZELM_SANITIZE=ON -DZELM_BENCHMARKS=OFF)
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$PWD/cmake/lsan.supp:print_suppressions=0"
    ;;
  --thread)
    DOSSIER=build-tsan
    OPTIONS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELM_SANITIZE_THREAD=ON -DZELM_BENCHMARKS=OFF)
    export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/cmake/tsan.supp"
    CIBLES=(--target "${PROGRAMMES_FIL[@]}")
    FILTRE=(-L "^($(IFS='|'; echo "${PROGRAMMES_FIL[*]}"))\$")
    ;;
  --fuzz)
    DOSSIER=build-fuzz
    OPTIONS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELM_FUZZ=ON
             -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    export ASAN_OPTIONS="abort_on_error=1:strict_string_checks=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    FUZZ=1
    ;;
  *)
    DOSSIER=build
    OPTIONS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
    ;;
esac

cmake -S . -B "$DOSSIER" -G Ninja "${OPTIONS[@]}"
cmake --build "$DOSSIER" -j2 "${CIBLES[@]}"
ctest --test-dir "$DOSSIER" --output-on-failure -j2 "${FILTRE[@]}"
if ((FUZZ)); then bash scripts/fuzz.sh 60; fi
