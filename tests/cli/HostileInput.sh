#!/bin/sh
# zevko-pd-calc on input no measurement file looks like, under a limit of its
# address space: it must finish with a clear message and its exit status,
# never abort, and its memory must not grow with the input.
#   HostileInput.sh PROGRAM
set -u
calc=$1
# AddressSanitizer reserves terabytes of address space: no limit fits it.
if grep -qa __asan_init "$calc"; then
    echo "skipped: the program is built with AddressSanitizer"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
header="side,P,n,beta,gamma,dD,F,material,method,quantity,X"
good="external,1.5,1,30,30,0.866,1,steel,perpendicular,M,10.32496"
result="$good,1.50000,0.86603,9.02501,9.45896,0.00075,ok"

# Runs the program on $1 (a file) under an address-space limit of $2 KiB;
# sets rc, out, err.
run() {
    (ulimit -v "$2" && exec "$calc" "$1") >"$work/out" 2>"$work/err"
    rc=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}

# A row of 50 MB of commas between two good rows, within 1 GB and within 100 MB.
{
    echo "$header"
    echo "$good"
    head -c 50000000 /dev/zero | tr '\0' ','
    echo
    echo "$good"
} >"$work/commas.csv"
for limit in 1000000 100000; do
    run "$work/commas.csv" "$limit"
    [ "$rc" -eq 1 ] || fail "50 MB row, limit $limit KiB: exit status $rc ($err)"
    [ "$err" = "zevko-pd-calc: line 3: the row is longer than 1 MiB" ] || fail "50 MB row, limit $limit KiB: '$err'"
    expected=$(printf '%s,lead,optimum,diameter,indicated,correction,status\n%s\n%sinvalid: the row is longer than 1 MiB\n%s' \
        "$header" "$result" ",,,,,,,,,,,,,,,," "$result")
    [ "$out" = "$expected" ] || fail "50 MB row, limit $limit KiB: output differs"
done

# The same line as the header.
{
    head -c 50000000 /dev/zero | tr '\0' ','
    echo
    echo "$good"
} >"$work/header.csv"
run "$work/header.csv" 100000
[ "$rc" -eq 2 ] && [ "$err" = "zevko-pd-calc: header row: the row is longer than 1 MiB" ] && [ -z "$out" ] ||
    fail "50 MB header: exit status $rc, '$err'"

# /dev/zero never ends: the first NUL byte does.
run /dev/zero 100000
[ "$rc" -eq 2 ] && [ "$err" = "zevko-pd-calc: line 1: the input holds a NUL byte and is no CSV text (save UTF-16 text as UTF-8)" ] ||
    fail "/dev/zero: exit status $rc, '$err'"

# An endless line without a line break, from a pipe, in 100 MB: read past
# 300 MB of it and then cut.
(
    ulimit -v 100000
    { echo "$header"; tr '\0' ';' </dev/zero | head -c 300000000; echo; echo "$good"; } | "$calc" >"$work/out" 2>"$work/err"
)
rc=$?
[ "$rc" -eq 1 ] && [ "$(tail -n 1 "$work/out")" = "$result" ] || fail "300 MB from a pipe: exit status $rc, $(cat "$work/err")"

# A row of a little less than 1 MiB, with less and less memory: every run
# either calculates it or says that memory ran out; none aborts.
{
    echo "$header"
    printf '%s' "${good%10.32496}10.3249"
    head -c 1000000 /dev/zero | tr '\0' '6'
    echo
} >"$work/long.csv"
limit=4000
while [ "$limit" -le 40000 ]; do
    run "$work/long.csv" "$limit"
    echo "limit $limit: $rc $err" >>"$work/log"
    case "$rc:$err" in
    0:) ;;
    "2:zevko-pd-calc: out of memory") ;;
    *"error while loading shared libraries"*) ;; # too little to start at all
    *) fail "1 MiB row, limit $limit KiB: exit status $rc, '$err'" ;;
    esac
    limit=$((limit + 1000))
done

sort -k3 "$work/log" | uniq -c -f2 | head -5
[ "$failures" -eq 0 ] || exit 1
echo "all hostile inputs handled"
