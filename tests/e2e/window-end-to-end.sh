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

# shellcheck source=x-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/x-session.sh"
session_begin e2e Xvfb xdotool xclip
session_start_x

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

session_start_program

# Copies the report and compares it, byte for byte, with the lines given
# (each ends in CR LF).
copy_and_compare() {
  local name=$1
  shift
  printf '%s\r\n' "$@" >"$work/expected-$name"
  copy_with ctrl+shift+c || fail "$name: the report did not reach the clipboard"
  if ! cmp -s "$work/clip.last" "$work/expected-$name"; then
    echo "--- $name: expected (-) and copied (+), control characters shown:"
    diff <(cat -A "$work/expected-$name") <(cat -A "$work/clip.last") || true
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
copy_with ctrl+shift+b || fail "budget: the budget did not reach the clipboard"
budget_fail() {
  echo "--- budget: copied, control characters shown:"
  cat -A "$work/clip.last"
  fail "budget: $*"
}
# No line without its CR, no CR without its line feed.
[[ $(grep -c $'\r$' "$work/clip.last") == 15 && $(wc -l <"$work/clip.last") == 15 ]] ||
  budget_fail "not fifteen lines ending in CR LF"
mapfile -t budget < <(tr -d '\r' <"$work/clip.last")
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

# ---- a thread designation: Ctrl+T reaches the box "Thread"; Enter fills
# pitch, starts and flank angles through their fields and moves on to the
# measured value, after which Tab reaches the limits of the pitch diameter.
key ctrl+t
xdotool type --delay 30 'M12-6g'
key Return
enter 0.44
key Tab
enter '0.4200 0.4240'
copy_with ctrl+shift+c || fail "designation: the report did not reach the clipboard"
for line in $'Teilung (P): \t0.0689 in\r' $'Gangzahl (n): \t1\r' $'Steigung (l): \t0.068898 in\r' \
  $'Teilflankenwinkel (В): \t30° 0\' 0"\r'; do
  grep -qxF -- "$line" "$work/clip.last" || {
    cat -A "$work/clip.last"
    fail "designation: the report lacks the line ${line%$'\r'}"
  }
done
echo "ok: designation entered"

# ---- Exit, and what the program kept
quit_program

settings="$XDG_CONFIG_HOME/Brantel/RaradeRI.conf"
[[ -f $settings ]] || fail "no settings stored in $settings"
# The values of group Default, one "name=value" per line.
stored_all=$(awk '/^\[/ { group = $0; next } group == "[Default]" && NF { sub(/\r$/, ""); print }' "$settings" | sort)
# The design's six keys; the keys added beside them are checked by their own steps.
stored=$(grep -E '^(Izm|Lang|Mat|St|Vid|mm_in)=' <<<"$stored_all")
expected=$(printf '%s\n' Izm=0 Lang=2 Mat=0 St=1 Vid=1 mm_in=1 | sort)
if [[ $stored != "$expected" ]]; then
  echo "--- stored settings:"
  cat "$settings"
  fail "the stored settings differ"
fi
echo "ok: settings stored"

# The designation box and the limits keep theirs in a group of their own.
stored_conformity=$(awk '/^\[/ { group = $0; next } group == "[Conformity]" && NF { sub(/\r$/, ""); print }' "$settings")
for line in Threads=M12-6g 'Limits=0.4200 0.4240' LimitsUnit=1 Rule=0; do
  grep -qxF -- "$line" <<<"$stored_conformity" || {
    cat "$settings"
    fail "the settings lack $line"
  }
done
echo "ok: designation and limits stored"

# The catalog, unchanged by the user, is still whole.
grep -q '^D2=0.866' "$work/app/DEZADIRE.INI" || fail "the wire catalog lost an entry"
echo "ok: catalog kept"
