#!/usr/bin/env bash
# Drives the real program as a user would: a measurement typed with the
# keyboard, the report copied with Ctrl+Shift+C and read from the clipboard,
# the same in inches (Ctrl+U) and in German (Ctrl+L, the language menu), then
# Ctrl+Q and the settings the program stored. Copy budget (Ctrl+Shift+B)
# copies the uncertainty budget of stored entries (German, inches).
#
# The program runs as a copy in a fresh directory with its own catalog file,
# under its own Xvfb, with fresh configuration and data directories, so that
# nothing of the user's or of another test is read or written.
#
#   window-end-to-end.sh PATH-TO-zevko-pd
#
# Exit status 0 passed, 1 failed, 77 skipped (a tool is missing).
set -euo pipefail

program=${1:?usage: window-end-to-end.sh PATH-TO-zevko-pd}

for tool in Xvfb xdotool xclip; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zevko-e2e.XXXXXX")
xvfb_pid=
app_pid=

cleanup() {
  local status=$?
  if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  if [[ -n $xvfb_pid ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if ((status != 0)); then
    echo "--- program output:"
    cat "$work/program.log" 2>/dev/null || true
    if [[ -n ${ZEVKO_E2E_KEEP:-} ]]; then
      echo "--- kept: $work"
      return
    fi
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs a command every 0.1 s until it succeeds or `seconds` have passed.
wait_until() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# ---- a private X server on a display no one else uses
mkdir -p "$work/app" "$work/home" "$work/config" "$work/data" "$work/cache" "$work/runtime"
chmod 700 "$work/runtime"
: >"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
display_known() { [[ -s $work/display ]]; }
wait_until 15 display_known || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

export DISPLAY=":$(tr -dc '0-9' <"$work/display")"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: LC_ALL=C.UTF-8
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE

# ---- the program beside a catalog of its own
cp "$program" "$work/app/zevko-pd"
printf '[DIAM_N]\r\nCOUNT=3\r\nD1=0.577\r\nD2=0.866\r\nD3=1.155\r\n[DIAM_S]\r\nCOUNT=1\r\nD1=2.5\r\n' \
  >"$work/app/DEZADIRE.INI"

# ---- uncertainty budget: the lab's entries, as a previous run stored them
# (the published M10x1.5 case: instrument U 0.30 um k 2, s 0.20 um of 3
# readings, wires U 0.38 um k 2 correlated, force model +-0.15 um, form
# +-0.2 um, flank angles +-10'; U = 1.24 um, k = 2)
mkdir -p "$XDG_CONFIG_HOME/Brantel"
printf '%s\n' '[UncertaintyBudget]' Indicated=0.3 IndicatedKind=1 IndicatedK=2 Repeatability=0.2 Readings=3 \
  Probes=0.38 ProbesKind=1 ProbesK=2 ForceModel=0.15 ForceModelKind=2 Other=0.2 OtherKind=2 \
  Beta=10 BetaKind=2 Gamma=10 GammaKind=2 >"$XDG_CONFIG_HOME/Brantel/RaradeRI.conf"

"$work/app/zevko-pd" >"$work/program.log" 2>&1 &
app_pid=$!

find_window() {
  wid=$(xdotool search --onlyvisible --name '^Zevko Thread - PD$' 2>/dev/null | head -1)
  [[ -n $wid ]]
}
wait_until 30 find_window || fail "the window did not appear"
# Without a window manager only an explicit focus makes the keys arrive.
timeout 10 xdotool windowfocus --sync "$wid" || fail "the window did not take the focus"

key() { xdotool key --delay 30 "$@"; }
# Replaces the text of the focused field.
enter() {
  key ctrl+a
  xdotool type --delay 30 "$1"
}
tabs() { for ((i = 0; i < $1; ++i)); do key Tab; done; }

# ---- the clipboard, read while the program owns it
clip=0
clipboard_changed() {
  xclip -o -selection clipboard >"$work/clip.new" 2>/dev/null || return 1
  [[ -s $work/clip.new ]] && ! cmp -s "$work/clip.new" "$work/clip.last"
}
: >"$work/clip.last"

# Copies the report and compares it, byte for byte, with the lines given
# (each ends in CR LF).
copy_and_compare() {
  local name=$1
  shift
  printf '%s\r\n' "$@" >"$work/expected-$name"
  key ctrl+shift+c
  wait_until 10 clipboard_changed || fail "$name: the report did not reach the clipboard"
  cp "$work/clip.new" "$work/clip.last"
  if ! cmp -s "$work/clip.new" "$work/expected-$name"; then
    echo "--- $name: expected (-) and copied (+), control characters shown:"
    diff <(cat -A "$work/expected-$name") <(cat -A "$work/clip.new") || true
    fail "$name: the report differs"
  fi
  echo "ok: $name report"
}

# ---- a measurement: the focus starts in the pitch field; Tab runs
# pitch, starts, flank angles (6 fields), wire diameter, method, force,
# entered quantity, measured value.
enter 1.5
tabs 8
enter 0.866
tabs 2
enter 1
tabs 2
enter 10.32496
key Return

copy_and_compare "millimetres" \
  "Type of thread: 	External thread" \
  "Pitch (P): 	1.5 mm" \
  "Number of starts (n): 	1" \
  "Lead (l): 	1.50000 mm" \
  "Flank Angle (В): 	30° 0' 0\"" \
  "Flank Angle (Y): 	30° 0' 0\"" \
  "Opt. diameter of the wires: 	0.86603 mm" \
  "Diameter of the wires (dD): 	0.866 mm" \
  "Material of the probing elements: 	steel" \
  "Measurement method: 	perpendicular" \
  "Measuring force (F): 	1 N" \
  "Measurement P.D. (M): 	10.32496 mm" \
  "Pitch diameter (d2): 	9.02501 mm" \
  "Measurement P.D. (m): 	9.45896 mm" \
  "Correction for the meas. force: 	0.00075 mm"

key ctrl+u
copy_and_compare "inches" \
  "Type of thread: 	External thread" \
  "Pitch (P): 	0.05906 in" \
  "Number of starts (n): 	1" \
  "Lead (l): 	0.05906 in" \
  "Flank Angle (В): 	30° 0' 0\"" \
  "Flank Angle (Y): 	30° 0' 0\"" \
  "Opt. diameter of the wires: 	0.0341 in" \
  "Diameter of the wires (dD): 	0.03409 in" \
  "Material of the probing elements: 	steel" \
  "Measurement method: 	perpendicular" \
  "Measuring force (F): 	1 N" \
  "Measurement P.D. (M): 	0.40649 in" \
  "Pitch diameter (d2): 	0.355315 in" \
  "Measurement P.D. (m): 	0.372400 in" \
  "Correction for the meas. force: 	0.000030 in"

# The language menu lists English, Deutsch, Български.
key ctrl+l Down Down Return
copy_and_compare "German, inches" \
  "Gewindeart: 	Aussengewinde" \
  "Teilung (P): 	0.05906 in" \
  "Gangzahl (n): 	1" \
  "Steigung (l): 	0.05906 in" \
  "Teilflankenwinkel (В): 	30° 0' 0\"" \
  "Teilflankenwinkel (Y): 	30° 0' 0\"" \
  "Optimaler Drahtdurchmesser: 	0.0341 in" \
  "Drahtdurchmesser (dD): 	0.03409 in" \
  "Tastenelemente aus: 	Stahl" \
  "Messverfahren: 	senkrecht" \
  "Messkraft (F): 	1 N" \
  "Prüfmass (M): 	0.40649 in" \
  "Flankendurchmesser (d2): 	0.355315 in" \
  "Prüfmass (m): 	0.372400 in" \
  "Abplattungskorrektur: 	0.000030 in"

# ---- uncertainty budget: Copy budget with its key (German, inches): the
# report's pitch-diameter line, the header, eleven rows of ten TAB-separated
# columns, u_c and U; every line ends in CR LF.
key ctrl+shift+b
wait_until 10 clipboard_changed || fail "budget: the budget did not reach the clipboard"
cp "$work/clip.new" "$work/clip.last"
budget_fail() {
  echo "--- budget: copied, control characters shown:"
  cat -A "$work/clip.new"
  fail "budget: $*"
}
# No line without its CR, no CR without its line feed.
[[ $(grep -c $'\r$' "$work/clip.new") == 15 && $(wc -l <"$work/clip.new") == 15 ]] ||
  budget_fail "not fifteen lines ending in CR LF"
mapfile -t budget < <(tr -d '\r' <"$work/clip.new")
[[ ${budget[0]} == $'Flankendurchmesser (d2): \t0.355315 in' ]] || budget_fail "the pitch-diameter line differs"
[[ ${budget[1]} == $'Beitrag\tWert\tEinheit\tArt\tDivisor\tu\tc\tGewicht\t|c|\u00b7u [\u00b5m]\tAnteil [%]' ]] ||
  budget_fail "the header differs"
[[ ${budget[2]} == $'Angezeigter Wert (Messger\u00e4t, Aufl\u00f6sung, Einstellnormal)\t0.3\t\u00b5m\t'* ]] ||
  budget_fail "the first row differs"
for ((i = 2; i < 13; ++i)); do
  tabs_in_row=${budget[i]//[^$'\t']/}
  ((${#tabs_in_row} == 9)) || budget_fail "row $i has not ten columns"
done
[[ ${budget[13]} == $'Kombinierte Standardmessunsicherheit (u_c): \t'*$' \u00b5m' ]] || budget_fail "the u_c line differs"
# U = 1.24 um, as published, to the three decimals shown.
[[ ${budget[14]} =~ ^Erweiterte\ Messunsicherheit\ \(U\),\ k\ =\ 2:\ $'\t'1\.2(3[5-9]|4[0-4])\ $'\u00b5m'$ ]] ||
  budget_fail "the U line differs"
echo "ok: budget copied"

# ---- Exit, and what the program kept
key ctrl+q
program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_until 20 program_ended || fail "the program did not end after Ctrl+Q"
status=0
wait "$app_pid" || status=$?
app_pid=
((status == 0)) || fail "the program ended with status $status"

settings="$XDG_CONFIG_HOME/Brantel/RaradeRI.conf"
[[ -f $settings ]] || fail "no settings stored in $settings"
# The values of group Default, one "name=value" per line.
stored=$(awk '/^\[/ { group = $0; next } group == "[Default]" && NF { sub(/\r$/, ""); print }' "$settings" | sort)
expected=$(printf '%s\n' Izm=0 Lang=2 Mat=0 St=1 Vid=1 mm_in=1 | sort)
if [[ $stored != "$expected" ]]; then
  echo "--- stored settings:"
  cat "$settings"
  fail "the stored settings differ"
fi
echo "ok: settings stored"

# The catalog, unchanged by the user, is still whole.
grep -q '^D2=0.866' "$work/app/DEZADIRE.INI" || fail "the wire catalog lost an entry"
echo "ok: catalog kept"
