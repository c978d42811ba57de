#!/usr/bin/env bash
# Takes the screenshot of the about window for the README: the program as a
# new user starts it, under its own Xvfb, the Info button clicked, and the
# about window photographed over the main window, so that its outline shows.
#
#   tests/e2e/about-screenshot.sh PATH-TO-zevko-pd OUTPUT.png
set -euo pipefail

program=${1:?usage: about-screenshot.sh PATH-TO-zevko-pd OUTPUT.png}
output=${2:?usage: about-screenshot.sh PATH-TO-zevko-pd OUTPUT.png}
for tool in Xvfb xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zevko-about.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

mkdir -p "$work/app" "$work/home" "$work/config" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
: >"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
display_known() { [[ -s $work/display ]]; }
wait_until 15 display_known || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(tr -dc '0-9' <"$work/display")"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: LC_ALL=C.UTF-8

cp "$program" "$work/app/zevko-pd"
"$work/app/zevko-pd" >/dev/null 2>&1 &
pids+=($!)

find_window() { wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1); [[ -n $wid ]]; }
wait_until 30 find_window '^Zevko Thread - PD$' || { echo "no main window" >&2; exit 1; }
main=$wid
timeout 10 xdotool windowfocus --sync "$main"

# The Info button is the last one of the toolbar, at the window's top left.
xdotool mousemove --window "$main" 188 14 click 1
wait_until 15 find_window '^About Zevko Thread - PD$' || { echo "no about window" >&2; exit 1; }
about=$wid
xdotool mousemove 0 0
sleep 0.5 # let both windows finish painting

geometry() { xwininfo -id "$1" | awk -v k="$2" '$0 ~ k { print $NF }'; }
x=$(geometry "$about" 'Absolute upper-left X')
y=$(geometry "$about" 'Absolute upper-left Y')
w=$(geometry "$about" 'Width')
h=$(geometry "$about" 'Height')
margin=16
import -window root "$work/root.png"
convert "$work/root.png" -crop "$((w + 2 * margin))x$((h + 2 * margin))+$((x - margin))+$((y - margin))" +repage \
  -strip "$output"
echo "$output: about window at ${x},${y}, ${w}x${h}; outline:"
xwininfo -id "$about" -shape | grep -i -A2 'bounding shape' || true
