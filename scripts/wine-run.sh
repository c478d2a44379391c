#!/bin/sh
# Runs a program of the Windows build under Wine; CTest runs every Windows
# test through this script.
#   scripts/wine-run.sh PROGRAM.exe [ARGS...]
#   scripts/wine-run.sh --new-server PROGRAM.exe [ARGS...]   (window tests)
#   scripts/wine-run.sh --prepare                           (the prefix only)
# The Wine prefix, ${WINEPREFIX:-~/.cache/gleaner-wine}, is made on first use:
# 64-bit, without the Mono and Gecko prompts, and with the Chinese dialog
# fonts (宋体 and the others) drawn in WenQuanYi Micro Hei, so that Chinese
# shows as text and not as boxes.
#
# A Wine server started without a display cannot create windows later, so
# --new-server ends the prefix's server before the program and after it; the
# window tests run alone (CTest's RUN_SERIAL) for that reason.
# --prepare makes the prefix and starts the server with its services.
set -eu
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/gleaner-wine}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE=$(command -v wine || command -v wine64)

prepare() {
  [ -f "$WINEPREFIX/.gleaner-ready" ] && return
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 8
    [ -f "$WINEPREFIX/.gleaner-ready" ] && exit 0
    DISPLAY='' "$WINE" wineboot --init 8>&- >/dev/null 2>&1
    reg=$(mktemp --suffix=.reg)
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
      for face in 宋体 新宋体 SimSun NSimSun 微软雅黑 "Microsoft YaHei" 黑体 SimHei Tahoma \
                  "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI"; do
        printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
      done
    } | { printf '\377\376'; iconv -f UTF-8 -t UTF-16LE; } >"$reg"
    DISPLAY='' "$WINE" regedit /S 8>&- "$(winepath -w "$reg" 2>/dev/null || echo "$reg")" >/dev/null 2>&1
    rm -f "$reg"
    wineserver -w
    touch "$WINEPREFIX/.gleaner-ready"
  ) 8>"$WINEPREFIX.lock"
}

# Wine's services (the desktop, devices, plug and play) start with the first
# program of a server. Two programs starting them at once can wait a minute
# and a half for each other, so they are started here one at a time, and the
# server is kept for five minutes after its last program.
warm() {
  (
    flock 8
    # The server outlives this script: it must not hold the lock open.
    wineserver -p300 8>&- 2>/dev/null || true
    "$WINE" cmd /c exit 8>&- >/dev/null 2>&1 || true
  ) 8>"$WINEPREFIX.server.lock"
}

prepare
case "${1:-}" in
  --prepare)
    warm
    exit 0
    ;;
  --new-server)
    shift
    wineserver -k 2>/dev/null || true
    warm
    status=0
    "$WINE" "$@" || status=$?
    wineserver -k 2>/dev/null || true
    exit $status
    ;;
esac
warm
exec "$WINE" "$@"
