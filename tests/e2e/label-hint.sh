#!/usr/bin/env bash
# The result label's hint under a real pointer on a private X server: a cut
# label shows its hint once when the pointer comes, keeps it while the
# pointer stays or moves over the label, hides it when the pointer leaves,
# and costs no processor time in between (a hint window that took the
# pointer would be hidden and shown again without end).
#
#   label-hint.sh PATH-TO-LabelHintProbe
#
# Exit status 0 passed, 1 failed, 77 skipped (a tool is missing).
set -euo pipefail

probe=${1:?usage: label-hint.sh PATH-TO-LabelHintProbe}

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zevko-hint.XXXXXX")
xvfb_pid=
probe_pid=

cleanup() {
  local status=$?
  if [[ -n $probe_pid ]] && kill -0 "$probe_pid" 2>/dev/null; then
    kill "$probe_pid" 2>/dev/null || true
    wait "$probe_pid" 2>/dev/null || true
  fi
  if [[ -n $xvfb_pid ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if ((status != 0)); then
    echo "--- probe output:"
    cat "$work/probe.err" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

wait_until() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

mkdir -p "$work/config" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
# Another X server starting at the same moment on this machine may take the
# display number this one announced: then it is started again.
display_known() { [[ -s $work/display ]]; }
for attempt in 1 2 3; do
  : >"$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  wait_until 15 display_known || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(tr -dc '0-9' <"$work/display")"
  sleep 0.2
  if kill -0 "$xvfb_pid" 2>/dev/null && xdotool getmouselocation >/dev/null 2>&1; then
    break
  fi
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
  ((attempt < 3)) || fail "no X server could be reached: $(cat "$work/xvfb.log")"
done
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: LC_ALL=C.UTF-8
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE

# The pointer starts far from where the window will be.
xdotool mousemove 900 700

coproc PROBE { exec "$probe" 2>"$work/probe.err"; }
probe_pid=$PROBE_PID

ask() {
  echo "$1" >&"${PROBE[1]}"
  IFS= read -r -t 10 answer <&"${PROBE[0]}" || fail "the probe did not answer '$1'"
}

found() { xdotool search --onlyvisible --name '^Label hint probe$' >/dev/null 2>&1; }
wait_until 30 found || fail "the probe window did not appear"
sleep 0.3
ask where
read -r _ x y width height <<<"$answer"
echo "label at $x,$y, $width x $height"

# Checks a report: name, then expected enters, leaves, shows, hides, visible.
check() {
  local name=$1
  ask report
  read -r _ enters _ leaves _ shows _ hides _ visible _ cpu <<<"$answer"
  echo "$name: $answer"
  [[ "$enters $leaves $shows $hides $visible" == "$2 $3 $4 $5 $6" ]] ||
    fail "$name: expected enters $2 leaves $3 shows $4 hides $5 visible $6"
}

# ---- the pointer comes onto the label and stays
xdotool mousemove $((x + 20)) $((y + height / 2))
sleep 0.5
check "pointer arrived" 1 0 1 0 1
ask report
read -r _ _ _ _ _ _ _ _ _ _ _ _ cpu_before <<<"$answer"
sleep 2
check "pointer resting for 2 s" 1 0 1 0 1

# ---- it moves about over the label for 3 s
for ((i = 0; i < 60; ++i)); do
  xdotool mousemove $((x + 5 + (i * 7) % (width - 10))) $((y + 3 + i % (height - 6)))
  sleep 0.05
done
check "pointer moving for 3 s" 1 0 1 0 1
read -r _ _ _ _ _ _ _ _ _ _ _ cpu_after <<<"$answer"
# Handling 60 moves takes a few milliseconds; a hint shown and hidden
# continuously keeps the program busy for much of the 5 s.
((cpu_after - cpu_before < 500)) || fail "the probe used $((cpu_after - cpu_before)) ms of processor time over 5 s"

# ---- it leaves
xdotool mousemove 900 700
sleep 0.5
check "pointer gone" 1 1 1 1 0

# ---- and comes back once more
xdotool mousemove $((x + 50)) $((y + height / 2))
sleep 0.5
check "pointer back" 2 1 2 1 1

echo quit >&"${PROBE[1]}"
wait "$probe_pid" || true
probe_pid=
echo "ok: label hint"
