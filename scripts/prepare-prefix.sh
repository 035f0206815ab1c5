#!/usr/bin/env bash
# Creates the project's Wine prefix once: no window manager waits, and a font
# for the Japanese face that every window of Tallykeep uses. Every run makes
# sure the prefix has Marlett, the font of the caption buttons (without it they
# show "0 1 r"); Debian's fonts-wine package has Wine's own copy.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

install_marlett() {
  local font=/usr/share/wine/fonts/marlett.ttf fonts=$WINEPREFIX/drive_c/windows/Fonts
  [ -f "$font" ] || { echo "prepare-prefix: $font is missing (package fonts-wine)" >&2; exit 1; }
  mkdir -p "$fonts"
  cmp -s "$font" "$fonts/marlett.ttf" || cp "$font" "$fonts/marlett.ttf"
}

stamp=$WINEPREFIX/.tallykeep-ready
if [ -f "$stamp" ]; then
  install_marlett
  exit 0
fi

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
install_marlett
touch "$stamp"
