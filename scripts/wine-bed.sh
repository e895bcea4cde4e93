#!/bin/sh
# Runs a command (a preset's test run) inside the Wine test bed of a prefix:
# one Xvfb display and one persistent wineserver for each of the prefix's
# variants (null driver, X11, X11 without Msimg32), for the whole command.
# Without it every Wine program pays for a server that starts and stops around
# it, and a program that starts while the last server is exiting can fail
# ("wine client error:104"). The servers and the display are stopped when the
# command ends, fails or is interrupted.
#
# Usage: scripts/wine-bed.sh PREFIX COMMAND [ARG...]
# The command sees VORNIK_BED_DISPLAY, the display that X11 programs use (see
# the presets' wine-run-display.sh). One bed per prefix at a time.
set -eu
[ $# -ge 2 ] || { echo "usage: $0 PREFIX COMMAND [ARG...]" >&2; exit 2; }
prefix=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEDEBUG="${WINEDEBUG:--all}"
variants="$prefix $prefix-x11 $prefix-x11-nomsimg32"
xvfb_pid=""
display_file=$(mktemp)

stop_bed() {
  for p in $variants; do
    WINEPREFIX=$p wineserver -k >/dev/null 2>&1 || true
  done
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -f "$display_file"
}
trap 'stop_bed' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The display: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
tries=0
while [ ! -s "$display_file" ]; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "wine-bed: Xvfb did not start" >&2
    exit 1
  fi
  sleep 0.1
done
export VORNIK_BED_DISPLAY=":$(cat "$display_file")"
export DISPLAY="$VORNIK_BED_DISPLAY"

# The servers: any left from an earlier run are stopped first, each prefix is
# made if needed, and a first program starts the prefix's own services with
# their output away from the command's (they live as long as the server).
# A console program waiting on a pipe then keeps the desktop process alive:
# started by a test, it would hold the test's output open for the seconds it
# lingers after the test's last window.
anchor=$(mktemp -u)
mkfifo "$anchor"
exec 8<>"$anchor"
rm -f "$anchor"
for p in $variants; do
  WINEPREFIX=$p wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$p wineserver -w >/dev/null 2>&1 || true
done
for p in $variants; do
  case $p in
    *-x11-nomsimg32) env="VORNIK_WINE_X11=1 VORNIK_WINE_NO_MSIMG32=1" ;;
    *-x11) env="VORNIK_WINE_X11=1" ;;
    *) env="" ;;
  esac
  # shellcheck disable=SC2086
  env WINEPREFIX="$prefix" $env "$here/wine-prefix.sh" </dev/null >/dev/null 2>&1
  WINEPREFIX=$p wineserver -p </dev/null >/dev/null 2>&1
  # shellcheck disable=SC2086
  env WINEPREFIX="$prefix" $env "$here/wine-prefix.sh" wineboot </dev/null >/dev/null 2>&1 || true
  # shellcheck disable=SC2086
  env WINEPREFIX="$prefix" $env "$here/wine-prefix.sh" cmd.exe <&8 >/dev/null 2>&1 8<&- &
done

"$@" 8<&-
