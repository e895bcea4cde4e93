#!/bin/sh
# Builds all five presets and runs every test: the portable PPD library
# natively, the DLL's tests under Wine in all four Windows presets (x64 and
# x86), with the static checks of each DLL. Installs missing Debian packages
# first (as root). Each Windows preset's tests run inside the Wine test bed
# (scripts/wine-bed.sh: one display and persistent servers for the run).
# Usage: scripts/test.sh [preset...]   (default: all presets)
set -u
cd "$(dirname "$0")/.."
scripts/packages.sh || exit 1

presets=${*:-"native win64-later win64-earlier win32-later win32-earlier"}
export WINEDEBUG=-all
prefix="$(pwd)/build/wineprefix"
summary=""
passed=0
failed=0

# Why this machine cannot run the x86 presets' programs, or nothing.
why_no_32bit() {
  if [ ! -x /usr/lib/wine/wine ]; then
    echo "the 32-bit half of Wine (wine32:i386) is not installed"
  elif ! "build/$1/wine-run.sh" "build/$1/tests/bitness_probe.exe" 2>&1 | grep -q "32-bit program started"; then
    echo "a 32-bit Windows program does not start under Wine here"
  fi
}

for preset in $presets; do
  echo "=== $preset"
  started=$(date +%s)
  log="build/$preset.log"
  mkdir -p build
  if ! cmake --preset "$preset" >"$log" 2>&1 || ! cmake --build --preset "$preset" >>"$log" 2>&1; then
    tail -n 40 "$log"
    echo "build of $preset failed (log: $log)"
    failed=$((failed + 1))
    summary="$summary\n  $preset: BUILD FAILED"
    continue
  fi
  built=$(date +%s)
  scope=""
  case $preset in
    native) out=$(ctest --preset "$preset" --timeout 900 2>&1) ;;
    win32-*)
      why=$(why_no_32bit "$preset")
      if [ -n "$why" ]; then
        echo "$preset: $why; only the static checks run"
        scope=", static checks only: $why"
        out=$(ctest --preset "$preset" --timeout 900 -L static 2>&1)
      else
        out=$(scripts/wine-bed.sh "$prefix" ctest --preset "$preset" --timeout 900 2>&1)
      fi
      ;;
    *) out=$(scripts/wine-bed.sh "$prefix" ctest --preset "$preset" --timeout 900 2>&1) ;;
  esac
  status=$?
  echo "$out" | grep -v '^ *Start ' | grep -v '^Test project'
  line=$(echo "$out" | grep -E 'tests passed, [0-9]+ tests failed out of' | tail -n 1)
  total=$(echo "$line" | sed -E 's/.*out of ([0-9]+).*/\1/')
  bad=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed.*/\1/')
  if [ -z "$line" ]; then
    total=0
    bad=0
    echo "$out" | grep -q 'No tests were found' || bad=1
  fi
  [ $status -eq 0 ] || [ "$bad" -gt 0 ] || bad=1
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  ended=$(date +%s)
  summary="$summary\n  $preset: $((total - bad)) of $total test programs passed$scope (build $((built - started)) s, tests $((ended - built)) s)"
done
printf "=== summary$summary\n"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
