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

# shellcheck source=x-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/x-session.sh"
session_begin hint Xvfb xdotool
session_start_x

# The pointer starts far from where the window will be.
xdotool mousemove 900 700

coproc PROBE { exec "$probe" 2>"$work/program.log"; }
app_pid=$PROBE_PID

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
wait "$app_pid" || true
app_pid=
echo "ok: label hint"
