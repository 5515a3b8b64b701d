#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Idempotent: does nothing when all of them are already there.
set -euo pipefail

PAQUETS=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev
  libusb-1.0-0-dev
  libgtest-dev libgmock-dev
  libbenchmark-dev libfftw3-dev
  fonts-dejavu-core
  xvfb xauth imagemagick x11-utils xdotool socat
  umockdev
  clang libclang-rt-dev
)

manquants=()
for p in "${PAQUETS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    manquants+=("$p")
  fi
done

if ((${#manquants[@]} == 0)); then
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${manquants[@]}"
