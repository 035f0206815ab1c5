#!/usr/bin/env bash
# Starts or stops the one private X display and the one persistent wineserver
# that a test run shares:  wine-session.sh start|stop|status
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
mkdir -p "$TK_SESSION_DIR"

alive() { [ -s "$TK_SESSION_DIR/xvfb.pid" ] && kill -0 "$(cat "$TK_SESSION_DIR/xvfb.pid")" 2>/dev/null; }

case "${1:-}" in
  start)
    if alive; then exit 0; fi
    # A wineserver left from a session whose display is gone would keep
    # programs on that dead display.
    wineserver -k 2>/dev/null || true
    rm -f "$TK_SESSION_DIR/display"
    # Xvfb picks a free display number and writes it to fd 3.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
      3>"$TK_SESSION_DIR/display.tmp" >"$TK_SESSION_DIR/xvfb.log" 2>&1 &
    echo $! >"$TK_SESSION_DIR/xvfb.pid"
    for _ in $(seq 1 100); do
      [ -s "$TK_SESSION_DIR/display.tmp" ] && break
      sleep 0.1
    done
    [ -s "$TK_SESSION_DIR/display.tmp" ] || { echo "wine-session: Xvfb did not start" >&2; cat "$TK_SESSION_DIR/xvfb.log" >&2; exit 1; }
    tr -d '\n' <"$TK_SESSION_DIR/display.tmp" >"$TK_SESSION_DIR/display"
    rm -f "$TK_SESSION_DIR/display.tmp"
    export DISPLAY=":$(cat "$TK_SESSION_DIR/display")"
    wineserver -p
    # The first program of a session starts Wine's services, which keep its
    # output open: start them here on /dev/null, not inside a test whose
    # output a test runner waits on.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    if alive; then kill "$(cat "$TK_SESSION_DIR/xvfb.pid")" 2>/dev/null || true; fi
    rm -f "$TK_SESSION_DIR/display" "$TK_SESSION_DIR/xvfb.pid"
    ;;
  status)
    alive && echo "display :$(cat "$TK_SESSION_DIR/display")" || { echo "no session"; exit 1; }
    ;;
  *) echo "usage: $0 start|stop|status" >&2; exit 2 ;;
esac
