#!/usr/bin/env bash
# Installs what is needed, builds everything and runs all tests.
#   bash scripts/test.sh              release build in build/
#   bash scripts/test.sh --sanitize   address + undefined sanitizers in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

if [[ "${1:-}" == "--sanitize" ]]; then
  DOSSIER=build-asan
  OPTIONS=(-DCMAKE_BUILD_TYPE=Debug -DZELM_SANITIZE=ON -DZELM_BENCHMARKS=OFF)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/cmake/lsan.supp:print_suppressions=0"
else
  DOSSIER=build
  OPTIONS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi

cmake -S . -B "$DOSSIER" -G Ninja "${OPTIONS[@]}"
cmake --build "$DOSSIER" -j2
ctest --test-dir "$DOSSIER" --output-on-failure -j2
