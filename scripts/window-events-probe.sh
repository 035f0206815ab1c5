#!/usr/bin/env bash
# Which window events of the stand-in game's process reach another program
# under this Wine, and how soon: builds and runs window_events_probe
# (tools/window_events_probe.cpp) beside the game on a private Xvfb
# and prints its trace, with the hook as Tallykeep sets it and again with
# WINEVENT_SKIPOWNPROCESS added (docs/window-events.md). Not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

bash scripts/install-packages.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target freecell_test_build window_events_probe >/dev/null
bash scripts/prepare-prefix.sh
if ! bash scripts/wine-session.sh status >/dev/null 2>&1; then
  bash scripts/wine-session.sh start
  trap 'bash scripts/wine-session.sh stop' EXIT
fi
bash scripts/wine-run.sh build/windows/bin/window_events_probe.exe
echo
bash scripts/wine-run.sh build/windows/bin/window_events_probe.exe --skip-own-process
