#!/usr/bin/env bash
# Runs a Windows program in the project's Wine prefix and session:
#   wine-run.sh PROGRAM.EXE [ARGS...]
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
exec wine "$@"
