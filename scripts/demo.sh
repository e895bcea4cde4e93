#!/bin/sh
# The demo: builds the x64 later-flavour DLL and the driver host (or those of
# another Windows preset: --preset win32-later, ...), then plays the
# PostScript driver around the plug-in under Wine with the sample printer and
# prints what the plug-in did. With a display (DISPLAY set, run from a
# terminal) the printing-preferences pages open for you to use; headless, a
# virtual display is used and a picture of each page is saved to build/demo/.
# Installs missing Debian packages first (as root). Extra arguments go to the
# driver host (see README). --gallery takes the README's gallery instead
# (scripts/gallery.sh).
set -eu
cd "$(dirname "$0")/.."
[ "${1:-}" = --gallery ] && exec scripts/gallery.sh
preset=win64-later
if [ "${1:-}" = --preset ]; then
  [ $# -ge 2 ] || { echo "usage: $0 [--preset PRESET] [driver host options]" >&2; exit 2; }
  preset=$2
  shift 2
fi
case $preset in
  win64-later | win64-earlier | win32-later | win32-earlier) ;;
  *) echo "$0: '$preset' is not a Windows preset (win64-later, win64-earlier, win32-later, win32-earlier)" >&2; exit 2 ;;
esac
scripts/packages.sh
mkdir -p build
if ! { cmake --preset $preset && cmake --build --preset $preset; } >build/demo-build.log 2>&1; then
  tail -n 40 build/demo-build.log
  exit 1
fi
host="build/$preset/drvhost.exe"
if [ -n "${DISPLAY:-}" ] && [ -t 0 ]; then
  VORNIK_WINE_X11=1 exec "build/$preset/wine-run.sh" "$host" --show "$@"
fi
rm -rf build/demo
mkdir -p build/demo
exec "build/$preset/wine-run-display.sh" "$host" --pages "Z:$(pwd)/build/demo" "$@"
