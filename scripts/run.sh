#!/usr/bin/env bash
# Runs Tallykeep, with the deals' table beside it, and the game FREECELL.EXE (its
# test build) under Wine.
# With an X display (DISPLAY set): Tallykeep starts the game on your
# display; play, then close Tallykeep. Without one: a private Xvfb, a short
# scripted session (tk_demo), the saved settings file printed in UTF-8 and a
# screenshot in build/demo/screenshot.png.
# Overrides: TK_BUILD_DIR (the Windows build, default build/windows),
# TK_DEMO_DIR (default build/demo), TK_WINE_DIR (the Wine prefix and session).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)
build=${TK_BUILD_DIR:-$root/build/windows}
demo=${TK_DEMO_DIR:-$root/build/demo}

bash scripts/install-packages.sh
if [ -z "${TK_BUILD_DIR:-}" ]; then
  cmake --preset windows >/dev/null
else
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$jobs" --target Tallykeep freecell_test_build tk_demo
bash scripts/prepare-prefix.sh

rm -rf "$demo"
mkdir -p "$demo"
# The deals' table beside Tallykeep, as the release has it: the results window
# shows the next deal's difficulty below the number box.
cp "$build/bin/Tallykeep.exe" "$build/bin/FREECELL.EXE" "$root/data/deals.tkd" "$demo/"

if [ -n "${DISPLAY:-}" ]; then
  if bash scripts/wine-session.sh status >/dev/null 2>&1; then
    echo "run.sh: a test session runs in this Wine prefix on its own display;" \
         "stop it first (bash scripts/wine-session.sh stop) or set TK_WINE_DIR" >&2
    exit 1
  fi
  export TK_KEEP_DISPLAY=1
  source scripts/wine-env.sh
  cd "$demo"
  FREECELL_LOG="$demo/freecell.log" wine Tallykeep.exe
  wineserver -w
  exit 0
fi

# A session already running for this prefix (a test run, say) is shared and
# left running; one started here is stopped at the end.
if ! bash scripts/wine-session.sh status >/dev/null 2>&1; then
  bash scripts/wine-session.sh start
  trap 'bash scripts/wine-session.sh stop' EXIT
fi
source scripts/wine-env.sh

# The scripted player asks for the screenshot through a marker file once the
# windows show a few results, and goes on when the picture has been taken.
(
  for _ in $(seq 1 1200); do
    if [ -f "$demo/screenshot.request" ]; then
      xwd -root -silent -display "$DISPLAY" | convert xwd:- "$demo/screenshot.png"
      touch "$demo/screenshot.done"
      exit 0
    fi
    sleep 0.1
  done
) &
shooter=$!
status=0
wine "$build/bin/tk_demo.exe" "$(winepath -w "$demo")" || status=$?
if kill -0 "$shooter" 2>/dev/null; then kill "$shooter" 2>/dev/null || true; fi
wait "$shooter" 2>/dev/null || true
if [ "$status" -ne 0 ]; then
  echo "run.sh: the scripted session failed (tk_demo exit code $status); the game's log is $demo/freecell.log" >&2
  exit "$status"
fi

echo "--- $demo/Tallykeep.Ini (converted from CP932) ---"
iconv -f CP932 -t UTF-8 "$demo/Tallykeep.Ini"
echo "--- screenshot: $demo/screenshot.png ---"
