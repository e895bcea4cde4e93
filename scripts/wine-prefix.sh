#!/bin/sh
# Runs "$@" under Wine in a project-local prefix, creating the prefix once
# under a lock. The prefix named by $WINEPREFIX uses the null display driver
# (windows work, nothing is painted); with VORNIK_WINE_X11=1 a sibling prefix
# "$WINEPREFIX-x11" uses the X11 driver and needs a display (e.g. Xvfb).
# With VORNIK_WINE_NO_MSIMG32=1 a further sibling ("...-nomsimg32") runs
# programs with Msimg32.dll switched off and without the theme (which draws
# through it), for the fallbacks of programs that use it.
# With no arguments only prepares the prefix.
#
# A prefix serves 64-bit and 32-bit programs only when it was made after the
# 32-bit half of Wine (Debian's wine32:i386) was installed; one made before
# cannot start any program afterwards. The ready stamp records which halves
# were present, and a prefix made without the 32-bit half is made again once
# that half is there.
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
stamp="$WINEPREFIX/.vornik-ready-4"
halves=64
[ -x /usr/lib/wine/wine ] && halves=32+64
(
  flock 9
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" != "$halves" ] && [ "$halves" = 32+64 ]; then
    rm -f "$stamp"
  fi
  if [ ! -f "$stamp" ]; then
    # Whatever an older version of this script or another Wine left here.
    WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null 2>&1
    # Programs with these names see an older system version.
    wine reg add 'HKCU\Software\Wine\AppDefaults\drvhost-win2k.exe' /v Version /d win2k /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\AppDefaults\drvhost-winxp.exe' /v Version /d winxp /f >/dev/null 2>&1
    if [ "$driver" = x11 ]; then
      # Xvfb has no window manager: Wine places and frames the windows itself
      # (a managed window waits for a manager at every unmap).
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    fi
    # The later flavour's "MS UI Gothic" is missing under Wine. IPAPGothic has
    # the metrics of the platform's proportional Gothic (the same Latin widths
    # as "MS UI Gothic") and Japanese glyphs, so pages look and measure as
    # users see them. "MS Shell Dlg" maps to Wine's Tahoma, as on the platform.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d 'IPAPGothic' /f >/dev/null 2>&1
    if [ "$no_msimg32" = 1 ]; then
      wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /d 0 /f >/dev/null 2>&1
    fi
    wineserver -w
    echo "$halves" >"$stamp"
  fi
) 9>"$WINEPREFIX.lock"
[ $# -eq 0 ] && exit 0
if [ "$no_msimg32" = 1 ]; then
  export WINEDLLOVERRIDES="msimg32=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
fi
[ -n "${VORNIK_BED_DISPLAY:-}" ] || exec wine "$@"
# Inside the test bed the prefix's servers persist, and a helper process that
# a program starts (the desktop, say) would keep the program's output open
# for the whole run: the caller would wait on it after the program ended.
# The program writes into files instead, passed on when it ends.
out=$(mktemp)
err=$(mktemp)
status=0
wine "$@" >"$out" 2>"$err" || status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
