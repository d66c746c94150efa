#!/bin/sh
# Installs what the builds, the tests and the demo need, only when something is missing: both
# mingw-w64 toolchains (x86 and x64) and both Wine loaders (wine32:i386 runs the x86 programs
# where the kernel runs 32-bit programs, wine64 the x64 ones everywhere).
set -eu
PACKAGES="cmake make g++ clang libclang-rt-14-dev libgtest-dev libbenchmark-dev
g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
wine wine64 wine32:i386 fonts-wine xvfb imagemagick x11-apps"
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
