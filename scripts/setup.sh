#!/bin/sh
# Installs what the builds, the tests and the demo need, only when something is missing.
set -eu
PACKAGES="cmake make g++ clang libclang-rt-14-dev libgtest-dev libbenchmark-dev
g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine32:i386 xvfb imagemagick x11-apps"
missing=""
for p in $PACKAGES; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing >/dev/null
