#!/bin/sh
# Reading one PPD in the same run four ways: the native build, the Windows
# builds under Wine (x64 and x86, the plug-in's load path: a text-mode CRT
# stream read one byte per call), and libcups's ppdOpenFile. Prints the
# fastest build of each (ms) and its ratio to libcups. Needs the native
# preset and at least one Windows preset built, and the corpus extracted
# (tools/ppd-corpus/extract_ppds.py build/native/ppd-corpus).
#
# Usage: bench/load_path_bench.sh [CORPUS_RELATIVE_PPD]
#        (default: the largest corpus PPD, Ricoh Pro C7200S Light PS; the
#        libcups figure exists for the five largest, which ppd_bench times)
set -eu
cd "$(dirname "$0")/.."
ppd=${1:-Ricoh/PS/Ricoh-Pro_C7200S_Light_PS.ppd}
corpus=build/native/ppd-corpus
file="$(pwd)/$corpus/$ppd"
[ -f "$file" ] || { echo "$file: not found; extract the corpus first" >&2; exit 2; }
export WINEDEBUG=-all

build_ms() { sed -n 's/^build_ms=\([0-9.]*\).*/\1/p'; }

native=$(build/native/tools/ppdinfo/ppdinfo --timing "$file" | build_ms)
cups=$(build/native/bench/ppd_bench --corpus-index "$corpus/index.txt" \
         --benchmark_filter="^build/libcups/.*$(basename "$ppd" .ppd)" 2>/dev/null |
       sed 's/\x1b\[[0-9;]*m//g' | sed -n 's|^build/libcups/.*_min *\([0-9.]*\) ms.*|\1|p')
ratio() { awk -v a="$1" -v b="$cups" 'BEGIN { if (a == "" || b == "") print "-"; else printf "%.2f", a / b }'; }

printf '%-34s %10s %8s\n' "$ppd" "build ms" "/libcups"
printf '%-34s %10s %8s\n' "libcups ppdOpenFile" "$cups" "1.00"
printf '%-34s %10s %8s\n' "native" "$native" "$(ratio "$native")"
for preset in win64-later win32-later; do
  exe=build/$preset/tools/ppdinfo/ppdinfo.exe
  [ -f "$exe" ] || continue
  ms=$(build/$preset/wine-run.sh "$exe" --timing "Z:$file" | tr -d '\r' | build_ms)
  printf '%-34s %10s %8s\n' "$preset under Wine" "$ms" "$(ratio "$ms")"
done
