#!/bin/sh
# Installs what is needed, builds, and runs every test (GUI tests under Xvfb).
set -eu
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j 2
