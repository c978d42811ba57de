#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Then builds the whole
# project once more with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan and runs every test there again; any finding stops that run.
#
#   BUILD_DIR=...        the normal build (default build)
#   ASAN_BUILD_DIR=...   the sanitizer build (default build-asan)
#   ZEVKO_SANITIZERS=0   skip the sanitizer pass
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)"

[[ ${ZEVKO_SANITIZERS:-1} == 0 ]] && exit 0

asan_dir=${ASAN_BUILD_DIR:-build-asan}
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
echo "== Sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) in $asan_dir" >&2
# Debug: -O0 compiles fastest, and the suite is small enough to run unoptimised.
# Warnings are the normal build's business: sanitizer instrumentation can make
# GCC warn about code it has rewritten itself.
cmake -S . -B "$asan_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
  -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
  -DZEVKO_WERROR=OFF -DZEVKO_BUILD_BENCHMARKS=OFF -DZEVKO_BUILD_FUZZERS=OFF >/dev/null
cmake --build "$asan_dir" --parallel "$(nproc)"

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir "$asan_dir" --output-on-failure --parallel "$(nproc)"
