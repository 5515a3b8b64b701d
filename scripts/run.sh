#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it on the virtual bench.
#   bash scripts/run.sh           the "demo" bench: a generator, an RC low-pass on channel 2
#   bash scripts/run.sh PRESET    another bench (sans-oscillo, carre, passe-bande, ...)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target zelm quigena quigenb
exec build/bin/zelm --simulate${1:+=$1}
