#!/usr/bin/env bash
# Builds and runs tk_bench on a private Xvfb: Tallykeep's processor time idle
# beside the stand-in game and while the won dialog waits for the user, and how
# quickly it answers the game's dialogs.
#   bench.sh [seconds per load figure, default 10] [dialogs of each kind, default 50]
# Overrides: TK_BUILD_DIR (the Windows build, default build/windows), TK_WINE_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)
build=${TK_BUILD_DIR:-$root/build/windows}

bash scripts/install-packages.sh
if [ -z "${TK_BUILD_DIR:-}" ]; then
  cmake --preset windows >/dev/null
else
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$jobs" --target Tallykeep FREECELL tk_bench >/dev/null
bash scripts/prepare-prefix.sh

# The benchmark needs a display of its own: a session already running for this
# prefix (a test run) would share its screen and its processor.
if bash scripts/wine-session.sh status >/dev/null 2>&1; then
  echo "bench.sh: a Wine session is running for this prefix; stop it or set TK_WINE_DIR" >&2
  exit 1
fi
bash scripts/wine-session.sh start
trap 'bash scripts/wine-session.sh stop' EXIT
bash scripts/wine-run.sh "$build/bin/tk_bench.exe" "$@"
