#!/usr/bin/env bash
# Start-up of the window program against a minimal Qt 6 window of the same
# size (the program's window as it stands after start-up) built the same way (bench/StartupMinimalWindow.cpp): time until the
# window is mapped and peak resident memory, from alternating runs under a
# private Xvfb. Prints every run, the medians, and the ratios program/minimal.
#
#   bench/startup.sh [BUILD-DIR] [PAIRS]      (defaults: build, 10)
#
# Both programs are timed by the same helper (bench/MapTimer.c): it starts
# the program, waits for the MapNotify of its first window on the X server,
# waits 1.5 s more for the first paint and whatever start-up work follows,
# reads VmHWM and ends the program.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
pairs=${2:-10}
settle_ms=1500

for tool in Xvfb cc cmake; do
  command -v "$tool" >/dev/null || { echo "startup.sh: $tool is not installed" >&2; exit 1; }
done

cmake --build "$build" --target zevko-pd StartupMinimalWindow >/dev/null
program=$(find "$build/src/app" -maxdepth 1 -name zevko-pd -type f | head -1)
minimal=$(find "$build/bench" -maxdepth 1 -name StartupMinimalWindow -type f | head -1)
[[ -x $program && -x $minimal ]] || { echo "startup.sh: built programs not found in $build" >&2; exit 1; }
timer="$build/bench/map-timer"
cc -O2 -o "$timer" "$here/MapTimer.c" -lX11

work=$(mktemp -d "${TMPDIR:-/tmp}/zevko-startup.XXXXXX")
xvfb_pid=
cleanup() {
  if [[ -n $xvfb_pid ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The program runs as a copy beside a catalog of its own, with fresh
# settings, as a first start does; the minimal window in the same place.
mkdir -p "$work/app" "$work/runtime"
chmod 700 "$work/runtime"
cp "$program" "$work/app/zevko-pd"
cp "$minimal" "$work/app/minimal"
printf '[DIAM_N]\r\nCOUNT=3\r\nD1=0.577\r\nD2=0.866\r\nD3=1.155\r\n[DIAM_S]\r\nCOUNT=1\r\nD1=2.5\r\n' \
  >"$work/app/DEZADIRE.INI"

: >"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for ((i = 0; i < 150; ++i)); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "startup.sh: Xvfb did not start" >&2; exit 1; }

export DISPLAY=":$(tr -dc '0-9' <"$work/display")"
export QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work/runtime"
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE

run() {
  local name=$1
  shift
  rm -rf "$work/home" && mkdir -p "$work/home/config" "$work/home/data" "$work/home/cache"
  HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
    XDG_CACHE_HOME="$work/home/cache" "$timer" "$settle_ms" "$@" >"$work/one" 2>>"$work/errors"
  read -r ms kib width height <"$work/one"
  echo "$ms $kib" >>"$work/$name"
  printf '  %-8s %8.1f ms %8d KiB  %dx%d\n' "$name" "$ms" "$kib" "$width" "$height"
}

# One unmeasured start of each loads the libraries into the page cache; the
# program's tells the size its window has, which the minimal window takes.
run warm "$work/app/zevko-pd" >/dev/null
read -r _ _ width height <"$work/one"
((width > 0 && height > 0)) || { echo "startup.sh: the program's window size is unknown" >&2; exit 1; }
echo "window size: ${width}x${height}"
run warm "$work/app/minimal" "$width" "$height" >/dev/null
: >"$work/minimal.txt"
: >"$work/program.txt"
echo "runs (time to the mapped window, peak RSS):"
for ((i = 0; i < pairs; ++i)); do
  if ((i % 2 == 0)); then
    run minimal.txt "$work/app/minimal" "$width" "$height"
    run program.txt "$work/app/zevko-pd"
  else
    run program.txt "$work/app/zevko-pd"
    run minimal.txt "$work/app/minimal" "$width" "$height"
  fi
done | sed 's/\.txt / /'

python3 - "$work/minimal.txt" "$work/program.txt" <<'PY'
import statistics, sys
minimal = [tuple(map(float, l.split())) for l in open(sys.argv[1]) if l.strip()]
program = [tuple(map(float, l.split())) for l in open(sys.argv[2]) if l.strip()]
mt, mr = statistics.median(t for t, _ in minimal), statistics.median(r for _, r in minimal)
pt, pr = statistics.median(t for t, _ in program), statistics.median(r for _, r in program)
print(f"median minimal window: {mt:8.1f} ms to mapped, {mr / 1024:6.1f} MiB peak RSS")
print(f"median program:        {pt:8.1f} ms to mapped, {pr / 1024:6.1f} MiB peak RSS")
print(f"ratio program/minimal: time {pt / mt:.2f}, peak RSS {pr / mr:.2f}")
pair_t = statistics.median(p[0] / m[0] for m, p in zip(minimal, program))
pair_r = statistics.median(p[1] / m[1] for m, p in zip(minimal, program))
print(f"median of pair ratios: time {pair_t:.2f}, peak RSS {pair_r:.2f}")
PY
