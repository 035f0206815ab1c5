#!/usr/bin/env bash
# Plays one deal of the game FREECELL.EXE (its test build) to its end with the mouse
# under Wine, on a private Xvfb, and keeps screenshots of the game:
#   freecell-play.sh [game number] [output dir]
# (defaults: game 1, build/freecell-play). The pictures are the deal, two
# moments of the play and the won game with its dialog.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
game=${1:-1}
out=$(mkdir -p "${2:-$root/build/freecell-play}" && cd "${2:-$root/build/freecell-play}" && pwd)
work=$root/build/freecell-play-work
jobs=$(nproc 2>/dev/null || echo 2)

bash scripts/install-packages.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target freecell_test_build freecell_play
bash scripts/prepare-prefix.sh

rm -rf "$work"
mkdir -p "$work"
rm -f "$out"/[0-9]-*.png
cp build/windows/bin/FREECELL.EXE "$work/"

if ! bash scripts/wine-session.sh status >/dev/null 2>&1; then
  bash scripts/wine-session.sh start
  trap 'bash scripts/wine-session.sh stop' EXIT
fi
source scripts/wine-env.sh

# Takes each picture the player asks for, cut to the area it names.
(
  while :; do
    if [ -f "$work/shot.request" ]; then
      read -r name left top right bottom < <(tr -d '\r' <"$work/shot.request")
      rm -f "$work/shot.request"
      # The screen beside the game, above and below the won dialog that
      # reaches out of its window, gets a desktop blue instead of black.
      fill=()
      [ "$name" = 4-won ] && fill=(-fill 'rgb(58,110,165)' -draw "color $((right - left - 1)),0 floodfill"
                                   -draw "color $((right - left - 1)),$((bottom - top - 1)) floodfill")
      xwd -root -silent -display "$DISPLAY" |
        convert xwd:- -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "${fill[@]}" "$out/$name.png"
      touch "$work/shot.done"
    fi
    sleep 0.1
  done
) &
shooter=$!
status=0
wine build/windows/bin/freecell_play.exe "$(winepath -w "$work")" "$game" || status=$?
kill "$shooter" 2>/dev/null || true
wait "$shooter" 2>/dev/null || true
[ "$status" -eq 0 ] || { echo "freecell-play.sh: failed (exit code $status); the game's log is $work/freecell.log" >&2; exit "$status"; }
ls -l "$out"/[0-9]-*.png
