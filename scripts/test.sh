#!/bin/sh
# Builds all five presets and runs every test: the portable PPD library
# natively, the DLL's tests under Wine (x64), and the static checks of all four
# DLLs. Installs missing Debian packages first (as root).
# Usage: scripts/test.sh [preset...]   (default: all presets)
set -u
cd "$(dirname "$0")/.."
scripts/packages.sh || exit 1

presets=${*:-"native win64-later win64-earlier win32-later win32-earlier"}
export WINEDEBUG=-all
summary=""
passed=0
failed=0
for preset in $presets; do
  echo "=== $preset"
  log="build/$preset.log"
  mkdir -p build
  if ! cmake --preset "$preset" >"$log" 2>&1 || ! cmake --build --preset "$preset" >>"$log" 2>&1; then
    tail -n 40 "$log"
    echo "build of $preset failed (log: $log)"
    failed=$((failed + 1))
    summary="$summary\n  $preset: BUILD FAILED"
    continue
  fi
  out=$(ctest --preset "$preset" --timeout 900 2>&1)
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
  summary="$summary\n  $preset: $((total - bad)) of $total test programs passed"
done
printf "=== summary$summary\n"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
