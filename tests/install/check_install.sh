#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts both installed programs from another
# folder: each must find its data and paint its first window.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
for f in bin/morvane bin/morvane-heart share/applications/morvane.desktop share/applications/morvane-heart.desktop \
         share/icons/hicolor/64x64/apps/morvane.png share/icons/hicolor/128x128/apps/morvane-heart.png \
         share/morvane/F_Heart.mdb share/morvane/F_Heart_names.txt share/morvane/morvane.hlp; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
# Every picture but the cursors comes drawn at twice its size too, for screens scaled twice.
for f in "$prefix"/share/morvane/*.png "$prefix"/share/morvane/*.bmp; do
  case $f in *@2x.*) continue ;; esac
  twice="${f%.*}@2x.${f##*.}"
  [ -e "$twice" ] || { echo "missing after install: ${twice#"$prefix"/}"; exit 1; }
done
cd /
QT_QPA_PLATFORM=offscreen MORVANE_TRACE_WINDOWS=Frm_morvane timeout 20 "$prefix/bin/morvane" | grep -q 'painted Frm_morvane'
QT_QPA_PLATFORM=offscreen MORVANE_TRACE_WINDOWS=Frm_Heart_Main timeout 20 "$prefix/bin/morvane-heart" | grep -q 'painted Frm_Heart_Main'
echo "installed programs start"
