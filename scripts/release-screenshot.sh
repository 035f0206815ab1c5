#!/usr/bin/env bash
# The README's picture: the release archive unpacked into "成績 表ソ" and run
# under emulated Windows 10 with no FreeCell anywhere, taken on a private Xvfb
# while the test release.Release.OnWindows10WithNoGameAnywhereItPlaysTheBundledGame
# runs (after the first game is won and the next one dealt), cut to the
# windows and written to docs/release-win10.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)
shots=$root/build/release-screenshot

bash scripts/install-packages.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target release_archive tk_release_tests >/dev/null
bash scripts/prepare-prefix.sh
if ! bash scripts/wine-session.sh status >/dev/null 2>&1; then
  bash scripts/wine-session.sh start
  trap 'bash scripts/wine-session.sh stop' EXIT
fi
source scripts/wine-env.sh

rm -rf "$shots"
mkdir -p "$shots"
TK_SCREENSHOT_DIR=$(winepath -w "$shots")
export TK_SCREENSHOT_DIR
# The test asks through a marker file and goes on when the picture is taken.
(
  for _ in $(seq 1 3000); do
    if [ -f "$shots/screenshot.request" ]; then
      rm -f "$shots/screenshot.request"
      # The screen around the windows is black: -trim keeps the windows, and
      # the corner the group leaves free at the top right gets a desktop blue.
      xwd -root -silent -display "$DISPLAY" | convert xwd:- -trim +repage "$shots/trimmed.png"
      right=$(( $(identify -format '%w' "$shots/trimmed.png") - 1 ))
      convert "$shots/trimmed.png" -fill 'rgb(58,110,165)' -draw "color $right,0 floodfill" "$root/docs/release-win10.png"
      touch "$shots/screenshot.done"
      exit 0
    fi
    sleep 0.1
  done
) &
shooter=$!
status=0
ctest --preset windows -R '^release\.(archive|Release\.OnWindows10WithNoGameAnywhereItPlaysTheBundledGame)$' || status=$?
kill "$shooter" 2>/dev/null || true
wait "$shooter" 2>/dev/null || true
[ "$status" -eq 0 ] || { echo "release-screenshot.sh: the test failed" >&2; exit "$status"; }
[ -f "$shots/screenshot.done" ] || { echo "release-screenshot.sh: no picture was asked for" >&2; exit 1; }
ls -l docs/release-win10.png
