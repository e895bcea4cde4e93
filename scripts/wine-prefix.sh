#!/bin/sh
# Runs "$@" under Wine in a project-local prefix, creating the prefix once
# under a lock. The prefix named by $WINEPREFIX uses the null display driver
# (windows work, nothing is painted); with VORNIK_WINE_X11=1 a sibling prefix
# "$WINEPREFIX-x11" uses the X11 driver and needs a display (e.g. Xvfb).
# With VORNIK_WINE_NO_MSIMG32=1 a further sibling ("...-nomsimg32") runs
# programs with Msimg32.dll switched off and without the theme (which draws
# through it), for the fallbacks of programs that use it.
# With no arguments only prepares the prefix.
set -eu
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEDEBUG="${WINEDEBUG:--all}"
driver=null
if [ "${VORNIK_WINE_X11:-0}" = 1 ]; then
  driver=x11
  WINEPREFIX="$WINEPREFIX-x11"
fi
no_msimg32=0
if [ "${VORNIK_WINE_NO_MSIMG32:-0}" = 1 ]; then
  no_msimg32=1
  WINEPREFIX="$WINEPREFIX-nomsimg32"
fi
export WINEPREFIX
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.vornik-ready-3" ]; then
    WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null 2>&1
    # Programs with these names see an older system version.
    wine reg add 'HKCU\Software\Wine\AppDefaults\drvhost-win2k.exe' /v Version /d win2k /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\AppDefaults\drvhost-winxp.exe' /v Version /d winxp /f >/dev/null 2>&1
    if [ "$driver" = x11 ]; then
      # Xvfb has no window manager: Wine places and frames the windows itself
      # (a managed window waits for a manager at every unmap). The pages'
      # "MS UI Gothic" is missing here; a font that Wine sizes the same way
      # in the sheet and in its pages keeps every page inside its sheet.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d 'DejaVu Sans' /f >/dev/null 2>&1
    fi
    if [ "$no_msimg32" = 1 ]; then
      wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /d 0 /f >/dev/null 2>&1
    fi
    wineserver -w
    touch "$WINEPREFIX/.vornik-ready-3"
  fi
) 9>"$WINEPREFIX.lock"
[ $# -eq 0 ] && exit 0
if [ "$no_msimg32" = 1 ]; then
  export WINEDLLOVERRIDES="msimg32=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
fi
exec wine "$@"
