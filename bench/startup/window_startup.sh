#!/usr/bin/env bash
# Start-up to the first window, side by side: a bare Qt window, ピクモ and ちびポリコロ on one Xvfb
# server. Each round starts each program once, in turn, with an empty home and empty XDG folders,
# and times it from exec to its window being mapped (bench/map_timer); the medians are printed.
# Taking turns keeps the programs under the same load, on a machine others may be using.
#
# Usage: bench/startup/window_startup.sh [build dir, default the checkout's build/] [rounds]
#   Extra programs to compare: WINDOW_STARTUP_EXTRA="label=/path/to/program ..." (e.g. an older build).
# Needs Xvfb (the project's setup installs it) and a build with the benchmarks (map_timer, bare_window).
set -euo pipefail
build=$(realpath "${1:-$(dirname "$0")/../../build}")
rounds="${2:-20}"
for f in "$build/bench/map_timer" "$build/bench/bare_window" "$build/ピクモ" "$build/ちびポリコロ"; do
  [ -x "$f" ] || { echo "missing $f: build the project with the benchmarks first" >&2; exit 2; }
done
timer=$(realpath "$build/bench/map_timer")
command -v Xvfb >/dev/null || { echo "Xvfb is missing: scripts/setup.sh installs it" >&2; exit 2; }

labels=(bare "bare with one line of text" "ピクモ" "ちびポリコロ")
programs=("$build/bench/bare_window" "$build/bench/bare_window --text" "$build/ピクモ" "$build/ちびポリコロ")
for extra in ${WINDOW_STARTUP_EXTRA:-}; do
  labels+=("${extra%%=*}")
  programs+=("${extra#*=}")
done

work=$(mktemp -d)
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb

# One start with empty user folders; prints the milliseconds to the window.
start() {
  local home
  home=$(mktemp -d "$work/home.XXXXXX")
  mkdir -p "$home/data" "$home/config" "$home/cache" "$home/state" "$home/runtime"
  chmod 700 "$home/runtime"
  (cd "$(dirname "$1")" &&
    HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
    XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR="$home/runtime" \
    "$timer" 20000 "$@" 2>>"$work/errors.log" >"$work/last" </dev/null) || {
    echo "no window from $1:" >&2
    cat "$work/errors.log" >&2
    exit 1
  }
  rm -rf "$home"
  cat "$work/last"
}

# One unmeasured round first, so every program starts from a warm file cache.
# A program is its path and, after a space, its arguments.
run() { local p=$1; start "$(realpath "${p%% *}")" ${p#"${p%% *}"}; }
for p in "${programs[@]}"; do run "$p" >/dev/null; done
for ((r = 0; r < rounds; ++r)); do
  for i in "${!programs[@]}"; do
    run "${programs[$i]}" >>"$work/times.$i"
  done
done

median() { sort -n "$1" | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
bare=$(median "$work/times.0")
echo "exec to mapped window on $DISPLAY, median of $rounds rounds (ms):"
for i in "${!programs[@]}"; do
  m=$(median "$work/times.$i")
  printf '  %7.1f  %5.2fx bare  (min %6.1f, max %6.1f)  %s\n' "$m" "$(awk -v a="$m" -v b="$bare" 'BEGIN {print a / b}')" \
    "$(sort -n "$work/times.$i" | head -n1)" "$(sort -n "$work/times.$i" | tail -n1)" "${labels[$i]}"
done
