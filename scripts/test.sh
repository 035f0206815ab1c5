#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the host unit
# tests natively, then the Windows and end-to-end tests under Wine on a private
# X display. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

bash scripts/install-packages.sh

cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs"

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

bash scripts/prepare-prefix.sh
bash scripts/wine-session.sh start
trap 'bash scripts/wine-session.sh stop' EXIT
# A failed test is run once more; the tests that needed it are listed last.
status=0
ctest --preset windows 2>&1 | tee build/windows/ctest-output.log || status=$?
bash scripts/report-reruns.sh build/windows/ctest-output.log
exit "$status"
