#!/bin/sh
# Checks that every C++ file of the tree is formatted as .clang-format says.
# Lists the files that are not and exits 1; exits 0 when all are.
#   scripts/check-format.sh            check
#   scripts/check-format.sh --fix      format the files in place
# CLANG_FORMAT names the program (default: clang-format-14, else clang-format):
# other versions format some constructs differently.
set -eu
cd "$(dirname "$0")/.."

fix=false
[ "${1:-}" = "--fix" ] && fix=true

if [ -z "${CLANG_FORMAT:-}" ]; then
    if command -v clang-format-14 >/dev/null 2>&1; then CLANG_FORMAT=clang-format-14; else CLANG_FORMAT=clang-format; fi
fi
command -v "$CLANG_FORMAT" >/dev/null 2>&1 || { echo "check-format: $CLANG_FORMAT not found" >&2; exit 2; }

# Every tracked C++ source and header, and new ones not yet added.
# Outside a git checkout (an unpacked source archive), every C++ file of the
# source folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.hpp' '*.cc')
else
    files=$(find src tests bench fuzz tools \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' \) 2>/dev/null)
fi
[ -n "$files" ] || exit 0

if $fix; then
    printf '%s\n' $files | xargs "$CLANG_FORMAT" -i --style=file
    exit 0
fi

bad=0
for f in $files; do
    if ! "$CLANG_FORMAT" --style=file --dry-run --Werror "$f" >/dev/null 2>&1; then
        echo "not formatted: $f"
        bad=1
    fi
done
[ $bad -eq 0 ] || echo "check-format: run scripts/check-format.sh --fix" >&2
exit $bad
