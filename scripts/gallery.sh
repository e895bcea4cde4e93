#!/bin/sh
# The gallery: pictures of the plug-in's pages as users see them, taken
# headless on a virtual display by the driver host with the sample printer:
# both pages in each of the eight languages (x64, later flavour), the Layout
# page of the earlier flavour, and the Layout page in a few telling states.
# Every picture is saved under build/gallery/ (a folder per run, with the
# driver host's report beside it); the README's pictures are written to
# docs/pictures/. Installs missing Debian packages first (as root).
# Usage: scripts/gallery.sh   (or scripts/demo.sh --gallery)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
languages="neutral de-DE fr-FR it-IT ja-JP nl-NL pt-PT es-ES"

# Outside the test bed: build, then run this script again inside one bed
# (one display and one Wine server for every picture).
if [ -z "${VORNIK_BED_DISPLAY:-}" ]; then
  scripts/packages.sh
  mkdir -p build
  for preset in win64-later win64-earlier; do
    echo "gallery: building $preset"
    if ! { cmake --preset $preset && cmake --build --preset $preset; } >build/gallery-build.log 2>&1; then
      tail -n 40 build/gallery-build.log
      exit 1
    fi
  done
  exec scripts/wine-bed.sh "$root/build/wineprefix" "$0" "$@"
fi

out=build/gallery
pictures=docs/pictures
rm -rf "$out"
mkdir -p "$out" "$pictures"

# shoot NAME PRESET [driver host options]: both pages into $out/NAME/.
shoot() {
  name=$1
  preset=$2
  shift 2
  echo "gallery: $name"
  mkdir -p "$out/$name"
  if ! build/$preset/wine-run-display.sh build/$preset/drvhost.exe \
      --pages "Z:$root/$out/$name" "$@" >"$out/$name.log" 2>&1 ||
      [ ! -s "$out/$name/layout.png" ] || [ ! -s "$out/$name/job-settings.png" ]; then
    tail -n 20 "$out/$name.log"
    echo "gallery: the pictures of $name were not saved (report: $out/$name.log)" >&2
    exit 1
  fi
}

for tag in $languages; do
  shoot "$tag" win64-later --lang "$tag"
done
shoot earlier win64-earlier
shoot landscape-4-up win64-later \
  --layout orientation=landscape,nup=4,direction=down-left,duplex=long
shoot booklet-right win64-later --layout nup=booklet,edge=right,duplex=short
shoot duplex-conflict win64-later --installed CVDuplexOption=False --layout duplex=long

# compose OUT COLUMNS PAGE [picture-sheet options]: one tile per language.
compose() {
  sheet=$1
  columns=$2
  page=$3
  shift 3
  tiles=""
  for tag in $languages; do
    tiles="$tiles $tag=Z:$root/$out/$tag/$page.png"
  done
  # shellcheck disable=SC2086
  build/win64-later/wine-run.sh build/win64-later/picture-sheet.exe \
    "Z:$root/$pictures/$sheet" "$columns" "$@" $tiles
}
echo "gallery: overviews"
compose layout-languages.png 4 layout --trim --reduce 2
compose job-settings-languages.png 2 job-settings --trim

cp "$out/neutral/layout.png" "$pictures/layout.png"
cp "$out/neutral/job-settings.png" "$pictures/job-settings.png"
for tag in $languages; do
  [ "$tag" = neutral ] || cp "$out/$tag/layout.png" "$pictures/layout-$tag.png"
done
for name in earlier landscape-4-up booklet-right duplex-conflict; do
  cp "$out/$name/layout.png" "$pictures/layout-$name.png"
done
echo "gallery: every picture in $out/, the README's in $pictures/"
