#!/bin/sh
# Installs the Debian 12 packages the build, the program and the tests need.
set -eu
PACKAGES="build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
libboost-regex-dev libcurl4-openssl-dev libwxgtk3.2-dev libcpp-httplib-dev libxlsxwriter-dev libsqlite3-dev \
xvfb xauth xdotool imagemagick fonts-wqy-microhei time"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
# Skip apt when everything is already there (a second run, or a prepared machine).
if dpkg-query -W -f='${Status}\n' $PACKAGES 2>/dev/null | grep -qv 'install ok installed' ||
   [ "$(dpkg-query -W -f='${Status}\n' $PACKAGES 2>/dev/null | wc -l)" -ne "$(echo $PACKAGES | wc -w)" ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $PACKAGES
fi
