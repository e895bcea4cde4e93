#!/bin/sh
# Installs the Debian packages the build and the tests need, when missing.
# As root it runs apt-get; otherwise it prints the command and fails.
set -eu
# wine32:i386 is Wine's 32-bit half, which runs the x86 builds' programs; it
# needs the i386 architecture enabled (multiarch).
packages="cmake ninja-build g++ python3 mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 wine32:i386 xvfb xauth fonts-dejavu-core fonts-ipafont-gothic googletest libbenchmark-dev
  libcups2-dev openprinting-ppds clang libclang-rt-14-dev"
i386=""
dpkg --print-foreign-architectures | grep -qx i386 || i386="dpkg --add-architecture i386 && "
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages; run as root: ${i386}apt-get update && apt-get install -y$missing" >&2
  exit 1
fi
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
[ -z "$i386" ] || dpkg --add-architecture i386
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq $missing >/dev/null
