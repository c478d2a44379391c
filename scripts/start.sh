#!/bin/sh
# Starts the built desktop program. With --sample-site, first starts the local
# sample site on a free loopback port and sends the site hosts to it.
# Without a display the window cannot start: the script says what to do
# instead, and with --sample-site shows the engine at work without a window
# (gleaner-cli against the sample site) and prints the rows it collects.
set -eu
cd "$(dirname "$0")/.."

sample=""
if [ "${1:-}" = "--sample-site" ]; then sample=yes; fi

# A local X display answers on /tmp/.X11-unix/X<n> (or the same name in the
# abstract namespace); a remote one is left to the program's own check.
x_display_reachable() {
  case $DISPLAY in
    :* | unix:*)
      number=${DISPLAY#*:}
      number=${number%%.*}
      [ -S "/tmp/.X11-unix/X$number" ] || grep -q "@/tmp/.X11-unix/X$number\$" /proc/net/unix 2>/dev/null
      ;;
    *) return 0 ;;
  esac
}

have_display() {
  if [ -n "${WAYLAND_DISPLAY:-}" ]; then
    case $WAYLAND_DISPLAY in
      /*) socket=$WAYLAND_DISPLAY ;;
      *) socket=${XDG_RUNTIME_DIR:-/nonexistent}/$WAYLAND_DISPLAY ;;
    esac
    if [ -S "$socket" ]; then return 0; fi
  fi
  [ -n "${DISPLAY:-}" ] && x_display_reachable
}

display=""
if have_display; then display=yes; fi
if [ -z "$display" ]; then cat res/no-display.txt >&2; fi
if [ -z "$sample" ]; then
  if [ -z "$display" ]; then exit 1; fi
  exec build/gleaner
fi

work=$(mktemp -d)
trap 'kill "$site" 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
build/gleaner-sample-site --port 0 >"$work/site.out" 2>"$work/site.err" &
site=$!
# The site's first line is its address: http://127.0.0.1:PORT/
tries=0
until grep -q '^http://' "$work/site.out" 2>/dev/null; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ] || ! kill -0 "$site" 2>/dev/null; then
    cat "$work/site.err" >&2
    echo "the sample site did not start" >&2
    exit 1
  fi
  sleep 0.1
done
port=$(sed -n 's|^http://127\.0\.0\.1:\([0-9]*\)/.*|\1|p' "$work/site.out" | head -n 1)
map=""
for host in s.1688.com detail.1688.com s.taobao.com rate.taobao.com item.taobao.com; do
  map="$map${map:+,}$host:80:127.0.0.1:$port"
done
echo "sample site on port $port" >&2
if [ -n "$display" ]; then
  GLEANER_CONNECT_TO="$map" build/gleaner
  exit
fi
echo >&2
echo "没有显示器：改用无界面采集程序，从示例网站采集 2 页“核桃”。" >&2
echo "No display: the headless runner collects 2 pages of 核桃 from the sample site instead." >&2
status=0
GLEANER_CONNECT_TO="$map" build/gleaner-cli offers --keyword 核桃 --pages 2 --header || status=$?
exit $status
