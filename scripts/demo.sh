#!/bin/sh
# The demo: builds the x64 later-flavour DLL and the driver host, then runs the
# driver's sequence against the plug-in under Wine and prints the report.
# Installs missing Debian packages first (as root).
set -eu
cd "$(dirname "$0")/.."
scripts/packages.sh
preset=win64-later
mkdir -p build
if ! { cmake --preset $preset && cmake --build --preset $preset; } >build/demo-build.log 2>&1; then
  tail -n 40 build/demo-build.log
  exit 1
fi
exec build/$preset/wine-run.sh build/$preset/drvhost.exe "$@"
