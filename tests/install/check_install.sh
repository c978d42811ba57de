#!/usr/bin/env bash
# check_install.sh BUILD_DIR STAGE_DIR SOURCE_DIR APP_ID VERSION WITH_APP(0|1)
#
# Installs BUILD_DIR under the prefix /usr into STAGE_DIR (DESTDIR) and checks
# that the tree holds exactly the expected files with sound modes, that the
# desktop entry and the AppStream metainfo validate and point at what was
# installed, and that the installed batch calculator runs and computes.
set -uo pipefail

build=$1 stage=$2 source=$3 app_id=$4 version=$5 with_app=$6
prefix=/usr
root="$stage$prefix"
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rm -rf "$stage"
if ! log=$(DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" 2>&1); then
  echo "$log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi

# --- The tree: exactly these files, nothing else (no libraries, headers, tests).
expected=(bin/zevko-pd-calc)
if [[ $with_app == 1 ]]; then
  expected+=(
    bin/zevko-pd
    share/applications/zevko-pd.desktop
    share/icons/hicolor/scalable/apps/zevko-pd.svg
    "share/metainfo/$app_id.metainfo.xml"
    share/zevko-pd/DEZADIRE.INI
  )
fi
actual=$(cd "$stage" && find . ! -type d | sed 's|^\./||' | sort)
wanted=$(printf "${prefix#/}/%s\n" "${expected[@]}" | sort)
if [[ "$actual" != "$wanted" ]]; then
  fail "installed tree differs from the expected one:"
  diff <(echo "$wanted") <(echo "$actual") | sed 's/^/    /' >&2
fi

for f in "${expected[@]}"; do
  path="$root/$f"
  [[ -f $path ]] || continue
  mode=$(stat -c %a "$path")
  case $f in
    bin/*) [[ $mode == 755 ]] || fail "$f has mode $mode, expected 755" ;;
    *)     [[ $mode == 644 ]] || fail "$f has mode $mode, expected 644" ;;
  esac
done

# --- The programs: no search path into the build or source tree, every
# library found, and the batch calculator works from where it was installed.
for exe in zevko-pd-calc zevko-pd; do
  path="$root/bin/$exe"
  [[ -f $path ]] || continue
  if readelf -d "$path" | grep -E 'R(UN)?PATH' | grep -qF -e "$build" -e "$source"; then
    fail "$exe keeps a search path into the build or source tree"
  fi
  if ldd "$path" | grep -q 'not found'; then
    fail "$exe has unresolved libraries:"
    ldd "$path" | grep 'not found' | sed 's/^/    /' >&2
  fi
done

calc="$root/bin/zevko-pd-calc"
if [[ -x $calc ]]; then
  if ! help=$("$calc" --help 2>&1); then
    fail "zevko-pd-calc --help exits with an error"
  elif [[ $help != "Usage: zevko-pd-calc"* ]]; then
    fail "zevko-pd-calc --help prints no usage: ${help:0:200}"
  fi
  # A measurement over three wires: M = 10.32496 mm on P = 1.5 mm, 60 degrees,
  # wire 0.866 mm, 1 N.
  out=$(printf '%s\n' \
    'side,P,n,beta,gamma,dD,F,material,method,quantity,X' \
    'external,1.5,1,30,30,0.866,1,steel,perpendicular,M,10.32496' | "$calc" 2>&1)
  rc=$?
  row=$(sed -n 2p <<<"$out")
  if [[ $rc != 0 || $row != *",9.02501,"*",ok" ]]; then
    fail "installed zevko-pd-calc does not compute (exit $rc): $out"
  fi
fi

[[ $with_app == 1 ]] || { ((failures == 0)) && echo "install tree OK"; exit $((failures > 0)); }

# --- The desktop entry.
desktop="$root/share/applications/zevko-pd.desktop"
if [[ -f $desktop ]]; then
  if ! out=$(desktop-file-validate "$desktop" 2>&1) || [[ -n $out ]]; then
    fail "desktop-file-validate: $out"
  fi
  key() { sed -n "s/^$1=//p" "$desktop"; }
  [[ $(key Name) == "Zevko Thread - PD" ]] || fail "desktop Name is '$(key Name)'"
  [[ -n $(key Comment) ]] || fail "desktop entry has no Comment"
  [[ $(key Categories) == *"Science;"* && $(key Categories) == *"Engineering;"* ]] ||
    fail "desktop Categories is '$(key Categories)'"
  exec_cmd=$(key Exec); exec_cmd=${exec_cmd%% *}
  [[ $exec_cmd != */* && -x "$root/bin/$exec_cmd" ]] ||
    fail "desktop Exec '$exec_cmd' is not an installed program found on PATH"
  icon=$(key Icon)
  [[ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ]] ||
    fail "desktop Icon '$icon' is not an installed hicolor icon"
fi

# --- The icon: a well-formed SVG that scales (a viewBox).
svg="$root/share/icons/hicolor/scalable/apps/zevko-pd.svg"
if [[ -f $svg ]]; then
  out=$(python3 - "$svg" 2>&1 <<'PY'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
if root.tag != '{http://www.w3.org/2000/svg}svg':
    sys.exit('root element is ' + root.tag)
if not root.get('viewBox'):
    sys.exit('no viewBox')
PY
) || fail "icon: $out"
fi

# --- The AppStream metainfo.
meta="$root/share/metainfo/$app_id.metainfo.xml"
if [[ -f $meta ]]; then
  if ! out=$(appstreamcli validate --no-net "$meta" 2>&1); then
    fail "appstreamcli validate: $out"
  fi
  out=$(python3 - "$meta" "$app_id" "$version" "$root" "$source" 2>&1 <<'PY'
import os, sys, xml.etree.ElementTree as ET
meta, app_id, version, root, source = sys.argv[1:]
c = ET.parse(meta).getroot()
problems = []
if c.findtext('id') != app_id:
    problems.append('id is %r, not %r' % (c.findtext('id'), app_id))
launch = c.findtext("launchable[@type='desktop-id']")
if not launch or not os.path.isfile(os.path.join(root, 'share/applications', launch)):
    problems.append('launchable %r is not an installed desktop entry' % launch)
images = [i.text or '' for i in c.iterfind('screenshots/screenshot/image')]
if not any(i.startswith('https://') and i.endswith('/docs/images/window.png') for i in images):
    problems.append('no screenshot of the window: %r' % images)
# A screenshot is served from the repository: the picture must be there.
for i in images:
    if '/docs/' in i and not os.path.isfile(os.path.join(source, i[i.index('/docs/') + 1:])):
        problems.append('screenshot %s is not in the repository' % i)
releases = [r.get('version') for r in c.iterfind('releases/release')]
if not releases or releases[0] != version:
    problems.append('newest release is %r, the project is %s' % (releases[:1], version))
binaries = {b.text for b in c.iterfind('provides/binary')}
for b in sorted(binaries):
    if not os.path.isfile(os.path.join(root, 'bin', b)):
        problems.append('provided binary %s is not installed' % b)
if problems:
    sys.exit('; '.join(problems))
PY
) || fail "metainfo: $out"
fi

# --- The seed of the user's catalog: the sample catalog, byte for byte.
cmp -s "$source/resources/catalog/DEZADIRE.INI" "$root/share/zevko-pd/DEZADIRE.INI" ||
  fail "share/zevko-pd/DEZADIRE.INI differs from the sample catalog"

((failures == 0)) && echo "install tree OK"
exit $((failures > 0))
