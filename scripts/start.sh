#!/bin/sh
# Starts the built desktop program. With --sample-site, first starts the local
# sample site on a free loopback port and sends the site hosts to it.
set -eu
cd "$(dirname "$0")/.."
if [ "${1:-}" != "--sample-site" ]; then
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
GLEANER_CONNECT_TO="$map" build/gleaner
