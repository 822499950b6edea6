#!/usr/bin/env bash
# Installs whatever the build needs that is missing (Debian packages), then configures and builds.
# Usage: scripts/setup.sh [build dir] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev libsdl2-dev qt6-translations-l10n libgl-dev libjpeg62-turbo-dev libchm-dev fp-utils
  fonts-ipafont-gothic libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth pulseaudio pulseaudio-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build="${1:-build}"
shift || true
cmake -S . -B "$build" -G Ninja "$@"
cmake --build "$build"
