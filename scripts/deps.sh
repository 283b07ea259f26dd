#!/bin/sh
# Installs what building, running and testing need on Debian 12 (run as root).
set -e
PACKAGES="build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6svg6 libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation
  python3 python3-dbfread python3-dbf unrtf clang clang-format libclang-rt-14-dev xvfb xauth"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
fi
