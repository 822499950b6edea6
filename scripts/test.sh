#!/usr/bin/env bash
# Sets everything up, builds, and runs the tests (offscreen: no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$(nproc)"
