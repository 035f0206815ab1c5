#!/usr/bin/env bash
# Builds the release from a clean build: dist/Tallykeep-<version>.zip (the
# program, its Japanese manual, the licence, the deals' table and the game that
# ships with it in freecell/) and dist/SHA256SUMS. The
# version is the one of the top CMakeLists.txt; entries carry the time of the
# last commit, so two runs on one commit give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
build=build/release

bash scripts/install-packages.sh

rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686-product.cmake" \
  -DTK_PRODUCT_BUILD=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" >/dev/null
python3 tests/imports/check_imports.py "$build/bin/Tallykeep.exe" tests/imports/allowed_imports.txt | grep -v '^note:'
python3 tests/imports/check_imports.py "$build/bin/freecell/FREECELL.EXE" freecell/allowed_imports.txt | grep -v '^note:'

epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}
rm -rf dist
python3 packaging/make_release.py --exe "$build/bin/Tallykeep.exe" --game "$build/bin/freecell/FREECELL.EXE" --version "$(cat "$build/generated/version.txt")" \
  --out dist --epoch "$epoch"
