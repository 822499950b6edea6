#!/usr/bin/env bash
# Sets everything up, builds, and starts ちびポリコロ.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
exec build/ちびポリコロ
