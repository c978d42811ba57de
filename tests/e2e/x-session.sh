# shellcheck shell=bash
# The common ground of the end-to-end scripts, sourced by them after their
# `set -euo pipefail`: a private X server, fresh home, configuration and data
# directories, the program started as a copy in a directory of its own, and
# the keyboard and clipboard helpers that drive it.
#
#   session_begin NAME TOOL...   exit 77 unless every tool is installed; makes
#                                the temporary directory $work, removed at exit
#                                (kept after a failure with ZEVKO_E2E_KEEP=1)
#   session_start_x              a private Xvfb, and the environment for it
#   session_start_program        runs $work/app/zevko-pd (the caller copies the
#                                program and its catalog there) and waits until
#                                its window answers the keyboard
#
# $app_pid is the process the cleanup ends and whose output ($work/program.log)
# a failure shows; a script that starts another process may set it too.

work=
xvfb_pid=
app_pid=

session_cleanup() {
  local status=$?
  if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  if [[ -n $xvfb_pid ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  [[ -n $work ]] || return 0
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

session_begin() {
  local name=$1 tool
  shift
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
      exit 77
    fi
  done
  work=$(mktemp -d "${TMPDIR:-/tmp}/zevko-$name.XXXXXX")
  trap session_cleanup EXIT
  mkdir -p "$work/app" "$work/home" "$work/config" "$work/data" "$work/cache" "$work/runtime"
  chmod 700 "$work/runtime"
}

display_known() { [[ -s $work/display ]]; }
x_answers() { xdotool getmouselocation >/dev/null 2>&1; }

session_start_x() {
  local attempt
  # Another X server starting at the same moment on this machine may take the
  # display number this one announced: then it is started again.
  for attempt in 1 2 3; do
    : >"$work/display"
    # -noreset: a server resets when its last client leaves, and refuses the
    # next one for as long as that takes; every xdotool call is such a client.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_until 15 display_known || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    DISPLAY=":$(tr -dc '0-9' <"$work/display")"
    export DISPLAY
    if wait_until 5 x_answers && kill -0 "$xvfb_pid" 2>/dev/null; then
      break
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
    ((attempt < 3)) || fail "no X server could be reached: $(cat "$work/xvfb.log")"
  done
  export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
  export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
  export QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: LC_ALL=C.UTF-8
  unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE
}

# ---- the keyboard (the window must have the focus)

key() { xdotool key --delay 30 "$@"; }
# Replaces the text of the focused field.
enter() {
  key ctrl+a
  xdotool type --delay 30 "$1"
}
tabs() {
  local i
  for ((i = 0; i < $1; ++i)); do key Tab; done
}

# ---- the clipboard, read while the program owns it: $work/clip.new holds
# what was read, $work/clip.last what the last wait took.

clipboard_changed() {
  xclip -o -selection clipboard >"$work/clip.new" 2>/dev/null || return 1
  [[ -s $work/clip.new ]] && ! cmp -s "$work/clip.new" "$work/clip.last"
}

# Presses the keys given and waits until the clipboard holds something new.
copy_with() {
  key "$@"
  wait_until 10 clipboard_changed || return 1
  cp "$work/clip.new" "$work/clip.last"
}

# The value of the report line that starts with `caption`, as copied last
# (the report's lines are "caption: TAB value CR LF").
report_value() {
  awk -v caption="$1" 'index($0, caption ": \t") == 1 {
    sub(/\r$/, ""); print substr($0, length(caption) + 4); found = 1; exit }
    END { exit !found }' "$work/clip.last"
}

# ---- the program

find_window() {
  wid=$(xdotool search --onlyvisible --name '^Zevko Thread - PD$' 2>/dev/null | head -1)
  [[ -n $wid ]]
}

# The window is taken as ready once the focus is in it and its report comes
# to the clipboard with the copy key: the window may be mapped before its
# fields and keys exist, and keys typed then would be lost.
report_answers() {
  timeout 10 xdotool windowfocus --sync "$wid" 2>/dev/null || return 1
  key ctrl+shift+c
  local deadline=$((SECONDS + 2))
  until clipboard_changed && grep -q $'\t' "$work/clip.new"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

session_start_program() {
  "$work/app/zevko-pd" >"$work/program.log" 2>&1 &
  app_pid=$!
  : >"$work/clip.last"
  wait_until 30 find_window || fail "the window did not appear"
  # Without a window manager only an explicit focus makes the keys arrive.
  wait_until 60 report_answers || fail "the window did not answer the copy key"
  cp "$work/clip.new" "$work/clip.last"
}

# Ctrl+Q, then the program's own end: its exit status must be 0.
program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }

quit_program() {
  key ctrl+q
  wait_until 20 program_ended || fail "the program did not end after Ctrl+Q"
  local status=0
  wait "$app_pid" || status=$?
  app_pid=
  ((status == 0)) || fail "the program ended with status $status"
}
