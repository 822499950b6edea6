#!/usr/bin/env bash
# Soaks the game program's sound output against a private sound server (PulseAudio with a null sink,
# in a runtime folder of its own): plays N whole games of the real program (まと当て by 自動進行, driven
# from inside as game_program_driven does), P at a time, then runs the in-process hammer H times, and
# counts how every run ended. With --load, a parallel build of the project and a fuzzer run beside them
# the whole time, as on a busy desktop.
#
# Usage: bench/sound/sound_soak.sh [-n games] [-j parallel] [-H hammer runs] [-s switches] [--load]
#                                  [--build build-dir] [--fuzzer path]
# Needs: the build (tests and benchmarks), pulseaudio and pactl. Exits 1 when any run did not end with 0.
set -uo pipefail
cd "$(dirname "$0")/../.."
src=$PWD

games=200 parallel=8 hammers=4 switches=5000 load=0 build=build fuzzer=""
while (($#)); do
  case "$1" in
    -n) games=$2; shift ;;
    -j) parallel=$2; shift ;;
    -H) hammers=$2; shift ;;
    -s) switches=$2; shift ;;
    --load) load=1 ;;
    --build) build=$2; shift ;;
    --fuzzer) fuzzer=$2; shift ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
  esac
  shift
done
build=$(realpath "$build")
driven=$build/tests/game_program_driven
hammer=$build/bench/sound_hammer
for f in "$driven" "$hammer"; do
  [ -x "$f" ] || { echo "missing $f: build the tests and benchmarks first (scripts/setup.sh $build)" >&2; exit 2; }
done
for tool in pulseaudio pactl; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (Debian packages pulseaudio, pulseaudio-utils)" >&2; exit 2; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -- -"$p" 2>/dev/null || kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work"/{run,home,config,logs}
chmod 700 "$work/run"
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
export PULSE_SERVER=unix:$work/run/native QT_QPA_PLATFORM=offscreen

setsid pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disallow-exit --log-target=stderr \
  -L module-null-sink -L "module-native-protocol-unix auth-anonymous=1 socket=$work/run/native" \
  2>"$work/pulseaudio.log" &
pids+=($!)
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "the private sound server did not answer:"; cat "$work/pulseaudio.log"; exit 2; } >&2

if ((load)); then
  # A build of the whole project from clean, again and again, on every core.
  setsid bash -c "while :; do cmake -S '$src' -B '$work/loadbuild' -G Ninja -DPOLY_BENCH=OFF >/dev/null &&
                  cmake --build '$work/loadbuild' --clean-first -j $(nproc) >/dev/null 2>&1; done" &
  pids+=($!)
  [ -n "$fuzzer" ] || fuzzer=$(ls "$src"/build-fuzz/fuzz/fuzz_* 2>/dev/null | head -1)
  if [ -n "$fuzzer" ] && [ -x "$fuzzer" ]; then
    mkdir -p "$work/corpus"
    setsid bash -c "while :; do ASAN_OPTIONS=detect_leaks=0 '$fuzzer' -max_total_time=3600 '$work/corpus' >/dev/null 2>&1; done" &
    pids+=($!)
    echo "load: a parallel build and $(basename "$fuzzer")"
  else
    echo "load: a parallel build (no fuzzer found: build one with POLY_FUZZ=ON in build-fuzz, or pass --fuzzer)"
  fi
fi

# One run: its exit status (128 + the signal when a signal ended it; 124 when it hung for 10 minutes).
run_one() {
  local kind=$1 i=$2 log="$work/logs/$1-$2.log" status
  if [ "$kind" = game ]; then
    POLY_DRIVE=game timeout -k 10 600 "$driven" >"$log" 2>&1
  else
    timeout -k 10 600 "$hammer" "$switches" >"$log" 2>&1
  fi
  status=$?
  echo "$status" >"$work/logs/$kind-$i.status"
}
export -f run_one
export work driven hammer switches

started=$(date +%s)
seq "$games" | xargs -P "$parallel" -I{} bash -c 'run_one game {}'
seq "$hammers" | xargs -P "$parallel" -I{} bash -c 'run_one hammer {}'
echo "took $(( $(date +%s) - started )) s; load average: $(cut -d' ' -f1-3 /proc/loadavg)"

failed=0
for kind in game hammer; do
  compgen -G "$work/logs/$kind-*.status" >/dev/null || continue
  echo "$kind runs by exit status:"
  cat "$work"/logs/$kind-*.status 2>/dev/null | sort -n | uniq -c | while read -r n s; do
    case $s in 0) why="clean" ;; 124) why="hung" ;; 134) why="SIGABRT" ;; 139) why="SIGSEGV" ;; *) why="" ;; esac
    echo "  $n x $s $why"
  done
  for f in "$work"/logs/$kind-*.status; do
    [ "$(cat "$f")" = 0 ] && continue
    failed=1
    echo "  ${f##*/}: $(grep -m1 -iE 'assert|error|fail' "${f%.status}.log")"
  done
done
exit $failed
