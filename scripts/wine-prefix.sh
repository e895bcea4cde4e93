#!/bin/sh
# Runs "$@" under Wine in a project-local prefix, creating the prefix once
# under a lock. The prefix named by $WINEPREFIX uses the null display driver
# (windows work, nothing is painted); with VORNIK_WINE_X11=1 a sibling prefix
# "$WINEPREFIX-x11" uses the X11 driver and needs a display (e.g. Xvfb).
# With no arguments only prepares the prefix.
set -eu
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEDEBUG="${WINEDEBUG:--all}"
driver=null
if [ "${VORNIK_WINE_X11:-0}" = 1 ]; then
  driver=x11
  WINEPREFIX="$WINEPREFIX-x11"
fi
export WINEPREFIX
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.vornik-ready-2" ]; then
    WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null 2>&1
    # Programs with these names see an older system version.
    wine reg add 'HKCU\Software\Wine\AppDefaults\drvhost-win2k.exe' /v Version /d win2k /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\AppDefaults\drvhost-winxp.exe' /v Version /d winxp /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.vornik-ready-2"
  fi
) 9>"$WINEPREFIX.lock"
[ $# -eq 0 ] && exit 0
exec wine "$@"
