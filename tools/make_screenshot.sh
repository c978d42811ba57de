#!/usr/bin/env bash
# Takes the README's screenshot docs/images/window.png: the built program on a
# private Xvfb with a catalog and settings of its own (the uncertainty budget
# of the M10x1.5 wire measurement, pitch-diameter limits 8.98 to 9.05 mm),
# M10x1.5-6g typed into the Thread box and M = 10.32496 mm calculated.
#
#   tools/make_screenshot.sh [PATH-TO-zevko-pd] [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/src/app/zevko-pd}
output=${2:-docs/images/window.png}

work=$(mktemp -d "${TMPDIR:-/tmp}/zevko-shot.XXXXXX")
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/config/Brantel" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"

: >"$work/display"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(tr -dc '0-9' <"$work/display")"
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: LC_ALL=C.UTF-8

cp "$program" "$work/app/zevko-pd"
printf '[DIAM_N]\r\nCOUNT=3\r\nD1=0.577\r\nD2=0.866\r\nD3=1.155\r\n[DIAM_S]\r\nCOUNT=1\r\nD1=2.5\r\n' \
  >"$work/app/DEZADIRE.INI"
printf '%s\n' '[UncertaintyBudget]' Indicated=0.3 IndicatedKind=1 IndicatedK=2 Repeatability=0.2 Readings=3 \
  Probes=0.38 ProbesKind=1 ProbesK=2 ForceModel=0.15 ForceModelKind=2 Other=0.2 OtherKind=2 \
  Beta=10 BetaKind=2 Gamma=10 GammaKind=2 '' '[Conformity]' 'Limits=8.98 9.05' LimitsUnit=0 Rule=0 \
  >"$work/config/Brantel/RaradeRI.conf"

"$work/app/zevko-pd" >/dev/null 2>&1 &
pids+=($!)
wid=
for _ in $(seq 300); do
  wid=$(xdotool search --onlyvisible --name '^Zevko Thread - PD$' 2>/dev/null | head -1) && [[ -n $wid ]] && break
  sleep 0.1
done
[[ -n $wid ]] || { echo "the window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$wid"
sleep 1
xdotool key --delay 50 ctrl+t
xdotool type --delay 50 'M10x1.5-6g'
xdotool key --delay 50 Return
sleep 0.5
# The designation leaves the focus in the measured value, its text selected.
xdotool type --delay 50 '10.32496'
xdotool key --delay 50 Return
sleep 1.5
import -window "$wid" "$output"
echo "wrote $output"
