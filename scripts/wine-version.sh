#!/usr/bin/env bash
# Sets the Windows version that the project's Wine prefix emulates:
#   wine-version.sh VERSION            for every program
#   wine-version.sh VERSION PROGRAM    for one executable name only
# VERSION is one of win95 win98 winme nt40 win2k winxp win7 win10.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
case "${1:-}" in
  win95|win98|winme|nt40|win2k|winxp|win7|win10) ;;
  *) echo "usage: $0 win95|win98|winme|nt40|win2k|winxp|win7|win10 [PROGRAM.EXE]" >&2; exit 2 ;;
esac
if [ -n "${2:-}" ]; then
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$2" /v Version /d "$1" /f >/dev/null
else
  wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null
fi
