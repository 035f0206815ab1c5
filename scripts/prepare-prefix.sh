#!/usr/bin/env bash
# Creates the project's Wine prefix once: no window manager waits, and a font
# for the Japanese face that every window of Tallykeep uses.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

stamp=$WINEPREFIX/.tallykeep-ready
[ -f "$stamp" ] && exit 0

mkdir -p "$TK_WINE_DIR"
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || { echo "prepare-prefix: wineboot failed" >&2; exit 1; }
# Without a window manager every hide or destroy of a window waits about 2 s.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
# Wine has no "ＭＳ Ｐゴシック"; IPA P Gothic has the same metrics family.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f >/dev/null
wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null
wineserver -w
touch "$stamp"
