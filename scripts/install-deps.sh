#!/bin/sh
# Installs the Debian 12 packages the build, the program and the tests need.
set -eu
PACKAGES="build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
libboost-regex-dev libcurl4-openssl-dev libwxgtk3.2-dev libcpp-httplib-dev libxlsxwriter-dev libsqlite3-dev \
xvfb xauth xdotool imagemagick fonts-wqy-microhei time wx3.2-i18n"
"$(dirname "$0")/apt-need.sh" $PACKAGES
