# Sourced by the other scripts: the project's own 32-bit Wine prefix under the
# build directory, code page 932 through the Japanese locale, and the display of
# the running session (when one was started by wine-session.sh).
TK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TK_WINE_DIR=${TK_WINE_DIR:-$TK_ROOT/build/wine}
export WINEPREFIX=$TK_WINE_DIR/prefix
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree=;mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
TK_SESSION_DIR=$TK_WINE_DIR/session
if [ -z "${TK_KEEP_DISPLAY:-}" ] && [ -s "$TK_SESSION_DIR/display" ]; then
  export DISPLAY=":$(cat "$TK_SESSION_DIR/display")"
fi
