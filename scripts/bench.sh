#!/usr/bin/env bash
# The benchmark, on a private Xvfb: builds Tallykeep and the benchmark's own
# variants of it: tk_bench_timer_only, which sees the game on its 100 ms timer
# alone, without early ticks on the game's window events
# (tools/timer_only_desktop_win.cpp), and tk_bench_spinning, whose
# wait loops pass without pause (tools/spinning_desktop_win.cpp);
# then runs tk_bench on all three in one run and prints minimum / median /
# maximum of every figure side by side:
# processor time idle and while the won dialog waits (Tallykeep, the game, the
# wineserver), dialog-to-answer times, a result's way to its line in
# Tallykeep.csv and to the saved settings file, start-up less Wine's own
# process start, memory and the executable's size; then tk_progress_bench: the
# progress window opened on generated logs of 32,000 and 1,000,000 games (to its
# first full paint), its redraw after one new result, and the memory it holds.
# Takes about 15 minutes with the defaults.
#   bench.sh [tk_bench options: --windows 3 --seconds 30 --dialogs 100
#             --saves 100 --starts 10 --seed-dialogs 20]
# TK_BENCH_TIMER_ONLY=0 and TK_BENCH_SEED=0 leave a variant out;
# TK_BENCH_BEFORE=<git revision> adds that revision's Tallykeep.exe, built in a
# worktree of its own under build/bench-before, side by side in the same run. Overrides:
# TK_BUILD_DIR (the Windows build, default build/windows), TK_WINE_DIR. Not part
# of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)
build=${TK_BUILD_DIR:-$root/build/windows}

bash scripts/install-packages.sh
configure() {  # configure DIR TOOLCHAIN [cmake options...]
  local dir=$1 toolchain=$2
  shift 2
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}
if [ -z "${TK_BUILD_DIR:-}" ]; then cmake --preset windows >/dev/null; else configure "$build" mingw-i686.cmake; fi
targets=(Tallykeep freecell_test_build tk_bench tk_trivial tk_progress_bench tk_start_bench)
if [ "${TK_BENCH_TIMER_ONLY:-1}" != 0 ]; then targets+=(tk_bench_timer_only); fi
if [ "${TK_BENCH_SEED:-1}" != 0 ]; then targets+=(tk_bench_spinning); fi
cmake --build "$build" -j "$jobs" --target "${targets[@]}" >/dev/null
seed_args=()
if [ "${TK_BENCH_TIMER_ONLY:-1}" != 0 ]; then
  timer_only_exe=$build/bin/tk_bench_timer_only.exe
  seed_args+=(--timer-only-exe "Z:${timer_only_exe//\//\\}")
fi
if [ "${TK_BENCH_SEED:-1}" != 0 ]; then
  seed_exe=$build/bin/tk_bench_spinning.exe
  seed_args+=(--seed-exe "Z:${seed_exe//\//\\}")
fi
if [ -n "${TK_BENCH_BEFORE:-}" ]; then
  before_dir=$root/build/bench-before
  before_exe=$before_dir/build/windows/bin/Tallykeep.exe
  # A build of the same revision left by an earlier run is used again.
  wanted=$(git -C "$root" rev-parse "$TK_BENCH_BEFORE^{commit}")
  if [ ! -f "$before_exe" ] || [ "$(git -C "$before_dir" rev-parse HEAD 2>/dev/null)" != "$wanted" ]; then
    rm -rf "$before_dir"
    git -C "$root" worktree prune
    git -C "$root" worktree add --detach "$before_dir" "$wanted" >/dev/null
    (cd "$before_dir" && cmake --preset windows >/dev/null && cmake --build --preset windows -j "$jobs" --target Tallykeep >/dev/null)
  fi
  seed_args+=(--before-exe "Z:${before_exe//\//\\}")
fi
bash scripts/prepare-prefix.sh

# The benchmark needs a display of its own: a session already running for this
# prefix (a test run) would share its screen and its processor.
if bash scripts/wine-session.sh status >/dev/null 2>&1; then
  echo "bench.sh: a Wine session is running for this prefix; stop it or set TK_WINE_DIR" >&2
  exit 1
fi
bash scripts/wine-session.sh start
trap 'bash scripts/wine-session.sh stop' EXIT

# The wineserver of this prefix (wineserver or wineserver64) works in a folder
# named after the prefix's device and inode.
source scripts/wine-env.sh
server_dir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
for proc in /proc/[0-9]*; do
  if [[ "$(cat "$proc/comm" 2>/dev/null)" == wineserver* ]] &&
    [ "$(basename "$(readlink "$proc/cwd" 2>/dev/null)")" = "$server_dir" ]; then
    export TK_WINESERVER_PID=${proc#/proc/}
  fi
done
[ -n "${TK_WINESERVER_PID:-}" ] || echo "bench.sh: the prefix's wineserver was not found" >&2

bash scripts/wine-run.sh "$build/bin/tk_bench.exe" "${seed_args[@]}" "$@"

# The progress window, in process, on logs it generates in a folder of its own.
progress_dir=$(mktemp -d)
bash scripts/wine-run.sh "$build/bin/tk_progress_bench.exe" --dir "Z:${progress_dir//\//\\}"
rm -rf "$progress_dir"

# Start-up beside a log of a million lines and its checkpoint, and beside none.
bash scripts/wine-run.sh "$build/bin/tk_start_bench.exe"
