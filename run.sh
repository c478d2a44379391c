#!/bin/sh
# Installs what is needed, builds, and starts the program.
#   ./run.sh                 the desktop program against the real sites
#   ./run.sh --sample-site   the same, with the site hosts sent to the local sample site
set -eu
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
exec scripts/start.sh "$@"
