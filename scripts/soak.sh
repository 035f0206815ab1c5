#!/usr/bin/env bash
# The soak, on a private Xvfb: 1,000 games played through Tallykeep.exe beside
# the game FREECELL.EXE (wins, losses at first and later attempts, resigns through
# the control bar, passes and retries), every count, streak, percentage,
# history line and passed game checked against a model of the rules after each
# game, then a close, the saved file, a restart and 100 games more. Prints the
# games per second beside the limit that the 100 ms tick sets for the mix.
#   soak.sh [GAMES] (default 1000)   TK_SOAK_SEED chooses another mix.
# Takes about 3 minutes with the default. Not part of the test command, which
# plays the same with 100 games.
set -euo pipefail
cd "$(dirname "$0")/.."
games=${1:-1000}
jobs=$(nproc 2>/dev/null || echo 2)

bash scripts/install-packages.sh
cmake --preset windows >/dev/null
cmake --build build/windows -j "$jobs" --target tk_e2e_tests Tallykeep freecell_test_build >/dev/null
bash scripts/prepare-prefix.sh

if bash scripts/wine-session.sh status >/dev/null 2>&1; then
  echo "soak.sh: a Wine session is running for this prefix; stop it first" >&2
  exit 1
fi
bash scripts/wine-session.sh start
trap 'bash scripts/wine-session.sh stop' EXIT

TK_SOAK_GAMES=$games bash scripts/wine-run.sh build/windows/bin/tk_e2e_tests.exe \
  --gtest_filter='TallykeepSoak.*'
