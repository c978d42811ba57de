#!/usr/bin/env bash
# Configures and builds the project into build/ (Ninja, warnings as errors).
# Optimised like RelWithDebInfo but without debug information by default: it
# makes the build noticeably faster on a 2-core machine. ZEVKO_OPT_FLAGS="-O2 -g"
# brings the debug information back.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="${ZEVKO_OPT_FLAGS:--O2 -DNDEBUG}" -DZEVKO_WERROR=ON "$@"
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
