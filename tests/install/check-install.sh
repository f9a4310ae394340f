#!/usr/bin/env bash
# Installs the build tree into a fresh prefix and checks the installed layout: the program and
# its translations in one folder, the relative link in bin/, the desktop entry's keys, the
# icon theme's four sizes and a valid AppStream metainfo file.
# Usage: check-install.sh <build dir> <scratch dir>
set -u
build=$1
prefix=$2/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

app="$prefix/lib/document-camera"
[ -f "$app/document-camera" ] && [ -x "$app/document-camera" ] || fail "program missing in $app"
for lang in zh-tw de es fr ja ru; do
  [ -s "$app/VOREN_$lang.qm" ] || fail "VOREN_$lang.qm missing beside the program"
done
qm_count=$(find "$app" -name 'VOREN_*.qm' | wc -l)
[ "$qm_count" -eq 6 ] || fail "$qm_count translation files instead of 6"

link="$prefix/bin/document-camera"
if [ -L "$link" ]; then
  target=$(readlink "$link")
  [ "$target" = "../lib/document-camera/document-camera" ] || fail "link points to $target"
  [ "$(readlink -f "$link")" = "$(readlink -f "$app/document-camera")" ] || fail "link does not resolve to the program"
else
  fail "$link is not a symbolic link"
fi

desktop="$prefix/share/applications/document-camera.desktop"
if [ -f "$desktop" ]; then
  # The value of a key in the [Desktop Entry] group.
  key() { awk -F= -v k="$1" '/^\[/{g=$0} g=="[Desktop Entry]" && $1==k {sub(/^[^=]*=/,""); print; exit}' "$desktop"; }
  [ "$(key Type)" = "Application" ] || fail "desktop Type is '$(key Type)'"
  [ "$(key Name)" = "Document Camera" ] || fail "desktop Name is '$(key Name)'"
  [ "$(key Exec)" = "document-camera" ] || fail "desktop Exec is '$(key Exec)'"
  [ "$(key Icon)" = "document-camera" ] || fail "desktop Icon is '$(key Icon)'"
  case ";$(key Categories)" in
    *";AudioVideo;"*|*";Video;"*) ;;
    *) fail "desktop Categories '$(key Categories)' name no video category" ;;
  esac
else
  fail "$desktop missing"
fi

for px in 16 32 48 256; do
  png="$prefix/share/icons/hicolor/${px}x${px}/apps/document-camera.png"
  if [ -f "$png" ]; then
    size=$(identify -format '%wx%h %m' "$png" 2>/dev/null)
    [ "$size" = "${px}x${px} PNG" ] || fail "$png is '$size'"
  else
    fail "$png missing"
  fi
done

metainfo="$prefix/share/metainfo/com.quillmore.DocumentCamera.metainfo.xml"
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" >/dev/null || fail "metainfo does not validate: $(appstreamcli validate --no-net "$metainfo" 2>&1)"
  grep -q '<launchable type="desktop-id">document-camera.desktop</launchable>' "$metainfo" ||
    fail "metainfo does not name the desktop entry"
else
  fail "$metainfo missing"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "installed tree complete"
