#!/usr/bin/env bash
# The catalog page and the manual with the keyboard alone, in the real
# program under a private X server: no pointer event at all, only keys.
# Tab reaches the page control's tab bar, Right shows the catalog page, Tab
# enters the grid; Insert, typing and Enter (or Tab, then Enter) make three
# wires, Ctrl+Enter selects one into the probe-diameter field, Delete removes
# another; F1 shows the manual, whose text Ctrl+A Ctrl+C copies. What came of
# it is read from outside: the report on the clipboard, and the catalog file
# after Ctrl+Q.
#
#   catalog-keyboard.sh PATH-TO-zevko-pd
#
# Exit status 0 passed, 1 failed, 77 skipped (a tool is missing).
set -euo pipefail

program=${1:?usage: catalog-keyboard.sh PATH-TO-zevko-pd}

# shellcheck source=x-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/x-session.sh"
session_begin catalog-keys Xvfb xdotool xclip
session_start_x

# An empty wire catalog; the ball catalog beside it must come through as it is.
cp "$program" "$work/app/zevko-pd"
printf '[DIAM_N]\r\nCOUNT=0\r\n[DIAM_S]\r\nCOUNT=1\r\nD1=2.5\r\n' >"$work/app/DEZADIRE.INI"

session_start_program

# ---- to the catalog grid: the focus starts in the pitch field, and Tab runs
# starts, flank angles (6 fields), wire diameter, method, force, entered
# quantity, measured value, limits, decision rule, then the tab bar.
tabs 15
key Right
key Tab

# ---- three wires, typed in an order the catalog does not keep: it sorts
# them. The third goes in with Tab (the cell is committed, the cursor moves
# on to the inch cell of the same row) and then Enter, which stores the row.
key Insert
xdotool type --delay 30 0.866
key Return
key Insert
xdotool type --delay 30 0.577
key Return
key Insert
xdotool type --delay 30 1.155
key Tab Return

# The cursor stays on the wire just stored, the last row: one up is 0.866,
# which Ctrl+Enter hands to the probe-diameter field; one more up is 0.577,
# which Delete removes.
key Up ctrl+Return
key Up Delete

copy_with ctrl+shift+c || fail "selection: no new report came to the clipboard"
dD=$(report_value "Diameter of the wires (dD)") || {
  cat -A "$work/clip.last"
  fail "selection: the report has no wire diameter"
}
[[ $dD == "0.866 mm" ]] || fail "selection: the probe diameter is '$dD', not the selected 0.866 mm"
echo "ok: wire selected with Ctrl+Enter"

# ---- the manual: F1 shows its page. The grid's page is put away with the
# focus in it, so the focus moves on to the manual; Shift+Tab goes back to
# the tab bar, and Tab comes into the manual again, as from any page.
key F1
key shift+Tab Tab
copy_with ctrl+a ctrl+c || fail "manual: nothing was copied from the manual"
manual=$(tr -d '\r' <"$work/clip.last")
# The title and the first and last headings of the English manual
# (resources/manual/RTF_EN.rtf): all of it was selected, and as text, not as
# its rich-text source.
for heading in "Software for Determining the Pitch Diameter of Threads When Measuring with Wires or Balls" \
  Introduction "Sequence of operations" "Additional functions"; do
  grep -qxF -- "$heading" <<<"$manual" || {
    head -c 2000 "$work/clip.last"
    fail "manual: the copied text lacks the heading '$heading'"
  }
done
! grep -qF '\rtf1' <<<"$manual" || fail "manual: the rich-text source was copied, not the text"
echo "ok: manual read"

# ---- Exit: the catalog written beside the program
quit_program
catalog=$(tr -d '\r' <"$work/app/DEZADIRE.INI")
section() { awk -v name="[$1]" '/^\[/ { inside = $0 == name; next } inside && NF' <<<"$catalog"; }
wires=$(section DIAM_N)
balls=$(section DIAM_S)
if [[ $wires != $'COUNT=2\nD1=0.866\nD2=1.155' || $balls != $'COUNT=1\nD1=2.5' ]]; then
  echo "--- catalog file:"
  cat -A "$work/app/DEZADIRE.INI"
  fail "the catalog file does not hold the wires 0.866 and 1.155 and the ball 2.5"
fi
echo "ok: catalog stored"
