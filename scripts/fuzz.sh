#!/usr/bin/env bash
# Builds the libFuzzer targets (Clang), seeds each target's corpus from the
# repository's fixtures and runs the targets one after another, niced.
#
#   scripts/fuzz.sh [TARGET|all] [SECONDS]      default: all, 60 seconds each
#
# TARGET is one of the names below, with or without its "Fuzz" prefix.
# Corpora grow in build-fuzz/corpus/<target> and are kept between runs;
# findings (crash-*, timeout-*, oom-*) land in build-fuzz/findings/<target>/,
# the full output in build-fuzz/logs/<target>.log. Environment: BUILD_DIR
# (default build-fuzz), CC/CXX (default clang-14/clang++-14), FUZZ_ARGS
# (more libFuzzer options). Exit status 1 when a target found something.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build-fuzz}
all_targets=(FuzzProfileFile FuzzCatalogFile FuzzLanguageTable FuzzRtfReader FuzzNumberFormat
             FuzzCsvReader FuzzBatchCsv FuzzCalculation FuzzThreadDesignation)

which=${1:-all}
seconds=${2:-60}
if [[ "$which" == -h || "$which" == --help ]]; then
  sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'
  printf 'Targets: %s\n' "${all_targets[*]}"
  exit 0
fi
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || ((seconds < 1)); then
  echo "fuzz.sh: SECONDS must be a positive whole number, not '$seconds'" >&2
  exit 2
fi
targets=()
if [[ "$which" == all ]]; then
  targets=("${all_targets[@]}")
else
  [[ "$which" == Fuzz* ]] || which="Fuzz$which"
  for t in "${all_targets[@]}"; do [[ "$t" == "$which" ]] && targets=("$t"); done
  if ((${#targets[@]} == 0)); then
    echo "fuzz.sh: unknown target '$1'; one of: ${all_targets[*]} or all" >&2
    exit 2
  fi
fi

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  CC=${CC:-clang-14} CXX=${CXX:-clang++-14} cmake -S "$root" -B "$build" -G Ninja \
    -DZEVKO_BUILD_FUZZERS=ON -DZEVKO_BUILD_APP=OFF -DZEVKO_BUILD_TESTS=OFF -DZEVKO_BUILD_BENCHMARKS=OFF
fi
nice -n 10 cmake --build "$build" --target "${targets[@]}" -j2

# Copies the fixture files into the corpus; with a prefix byte list, one copy
# per byte in front of the file (the targets that read option bits first).
seed() { # corpus prefixes file...
  local corpus=$1 prefixes=$2
  shift 2
  local f p
  for f in "$@"; do
    [[ -f "$f" ]] || continue
    local name
    name=seed-$(basename "$(dirname "$f")")-$(basename "$f")
    if [[ -z "$prefixes" ]]; then
      cp "$f" "$corpus/$name"
    else
      for p in $prefixes; do
        { printf "\\x$p"; cat "$f"; } >"$corpus/$name-$p"
      done
    fi
  done
}

seed_corpus() { # target corpus
  local target=$1 corpus=$2
  shopt -s nullglob globstar
  local ini=("$root"/resources/catalog/* "$root"/fuzz/seeds/ini/* "$root"/tests/core/data/**/*.[Ii][Nn][Ii])
  case "$target" in
    FuzzProfileFile) seed "$corpus" "" "${ini[@]}" ;;
    FuzzCatalogFile) seed "$corpus" "00 01 02 03" "${ini[@]}" ;;
    FuzzLanguageTable) seed "$corpus" "" "$root"/resources/lang/* "$root"/resources/lang/source/* ;;
    FuzzRtfReader) seed "$corpus" "" "$root"/resources/manual/*.rtf "$root"/tests/core/data/**/*.rtf ;;
    FuzzNumberFormat) seed "$corpus" "" "$root"/fuzz/seeds/numbers/* ;;
    FuzzCsvReader) seed "$corpus" "" "$root"/fuzz/seeds/csv/* "$root"/tests/cli/data/**/*.csv ;;
    FuzzBatchCsv) seed "$corpus" "00 01 02 03" "$root"/fuzz/seeds/csv/* "$root"/tests/cli/data/**/*.csv ;;
    FuzzCalculation) ;; # binary input: libFuzzer starts from nothing
    FuzzThreadDesignation) seed "$corpus" "" "$root"/fuzz/seeds/designations/* ;;
  esac
  # Every input that once found a fault stays in the corpus.
  seed "$corpus" "" "$root"/tests/core/data/fuzz-regressions/"$target"/*
  shopt -u nullglob globstar
}

dictionary() {
  case "$1" in
    FuzzProfileFile | FuzzCatalogFile) echo "$root/fuzz/dict/ini.dict" ;;
    FuzzRtfReader) echo "$root/fuzz/dict/rtf.dict" ;;
    FuzzNumberFormat) echo "$root/fuzz/dict/number.dict" ;;
    FuzzCsvReader | FuzzBatchCsv) echo "$root/fuzz/dict/csv.dict" ;;
    FuzzThreadDesignation) echo "$root/fuzz/dict/designation.dict" ;;
  esac
}

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/logs"
status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  log="$build/logs/$target.log"
  mkdir -p "$corpus" "$findings"
  seed_corpus "$target" "$corpus"
  args=(-max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$findings/")
  dict=$(dictionary "$target")
  [[ -n "$dict" ]] && args+=(-dict="$dict")
  # shellcheck disable=SC2206
  args+=(${FUZZ_ARGS:-})
  echo "== $target: ${seconds}s, corpus $corpus" >&2
  if nice -n 19 "$build/fuzz/$target" "${args[@]}" "$corpus" >"$log" 2>&1; then
    result=ok
  else
    result="FINDING (see $log and $findings)"
    status=1
  fi
  executions=$(grep -a '^stat::number_of_executed_units' "$log" | tail -n 1 | awk '{print $2}')
  echo "$target: executions ${executions:-?}, corpus $(find "$corpus" -type f | wc -l) inputs, $result"
done
exit $status
