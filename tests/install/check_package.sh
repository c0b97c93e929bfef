#!/usr/bin/env bash
# Builds the Debian package of the installation and checks it as a Debian system would:
# the dependency on Qt's translations, programs without their debugging information, the
# copyright and changelog, the data folder with every picture, and menu entries that
# desktop-file-validate takes without a remark.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
  echo "package: $*"
  exit 1
}
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; fail "cpack failed"; }
deb=$(echo "$out"/morvane_*.deb)
dpkg-deb -f "$deb" Depends | grep -qw 'qt6-translations-l10n' || fail "does not depend on qt6-translations-l10n"
dpkg-deb -x "$deb" "$out/root"
for doc in copyright changelog.gz; do
  [ -s "$out/root/usr/share/doc/morvane/$doc" ] || fail "no /usr/share/doc/morvane/$doc"
done
for program in morvane morvane-heart; do
  [ -x "$out/root/usr/bin/$program" ] || fail "no /usr/bin/$program"
  if readelf -S "$out/root/usr/bin/$program" | grep -qE '\.debug_|\.symtab'; then
    fail "/usr/bin/$program is not stripped"
  fi
done
# The data folder whole, the pictures drawn at twice their size among it.
shipped=$(cd "$out/root/usr/share/morvane" && ls)
[ "$shipped" = "$(cd "$build/share/morvane" && ls)" ] || fail "/usr/share/morvane differs from the build's data folder"
echo "$shipped" | grep -q '^heart_setup@2x\.png$' || fail "no pictures drawn at twice their size"
remarks=$(desktop-file-validate "$out"/root/usr/share/applications/*.desktop 2>&1) || fail "menu entries: $remarks"
[ -z "$remarks" ] || fail "menu entries: $remarks"
echo "package checked: $(basename "$deb")"
