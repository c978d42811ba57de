#!/bin/sh
# Configures and builds the core and the batch calculator with Qt made
# unfindable, then compiles every fuzz target's source without Qt's headers:
# none of them may need Qt. Usage: qt-less-build.sh SOURCE_DIR WORK_DIR
set -eu
src=$1
work=$2
rm -rf "$work"
mkdir -p "$work"

launcher=""
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi
generator=""
if command -v ninja >/dev/null 2>&1; then
    generator="-G Ninja"
fi

# shellcheck disable=SC2086
cmake -S "$src" -B "$work/build" $generator $launcher \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DZEVKO_WERROR=ON \
    -DZEVKO_BUILD_APP=OFF -DZEVKO_BUILD_TESTS=OFF -DZEVKO_BUILD_BENCHMARKS=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
cmake --build "$work/build" --target zevko_core zevko-pd-calc

# The fuzz targets link libFuzzer, which only Clang has; their sources are
# compiled here, with the core's and the batch calculator's headers only.
cxx=""
for candidate in clang++-14 clang++; do
    if command -v "$candidate" >/dev/null 2>&1; then
        cxx=$candidate
        break
    fi
done
if [ -z "$cxx" ]; then
    echo "no clang++: the fuzz sources were not compiled"
    exit 0
fi
for f in "$src"/fuzz/Fuzz*.cpp; do
    "$cxx" -std=c++20 -fsyntax-only -Wall -Wextra -Werror \
        -I"$src/src/core" -I"$src/src/cli" -I"$src/fuzz" "$f"
done
echo "built without Qt: zevko_core, zevko-pd-calc; fuzz sources compiled with $cxx"
