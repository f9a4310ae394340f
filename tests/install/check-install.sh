#!/usr/bin/env bash
# Installs the build tree into a fresh prefix and checks the installed layout: the program and
# its translations in one folder, the relative link in bin/, the desktop entry's keys, the
# icon theme's four sizes, a valid AppStream metainfo file and the manual page, which names every
# option the program's --help does.
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
  [ "$(key Exec)" = "document-camera %f" ] || fail "desktop Exec is '$(key Exec)'"
  [ "$(key Icon)" = "document-camera" ] || fail "desktop Icon is '$(key Icon)'"
  case ";$(key Categories)" in
    *";AudioVideo;"*|*";Video;"*) ;;
    *) fail "desktop Categories '$(key Categories)' name no video category" ;;
  esac
  # Films and pictures open from the file manager (the whole list: tst_startupfiles).
  case ";$(key MimeType)" in
    *";video/x-msvideo;"*";image/jpeg;"*) ;;
    *) fail "desktop MimeType '$(key MimeType)' does not declare films and pictures" ;;
  esac
  if command -v desktop-file-validate >/dev/null; then
    errors=$(desktop-file-validate "$desktop" 2>&1 | grep -E ': error: ')
    [ -z "$errors" ] || fail "desktop entry does not validate: $errors"
  else
    fail "desktop-file-validate missing (scripts/install-deps.sh installs it)"
  fi
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
  grep -q '<mediatype>video/x-msvideo</mediatype>' "$metainfo" || fail "metainfo lists no film types"
else
  fail "$metainfo missing"
fi

manpage="$prefix/share/man/man1/document-camera.1"
if [ -f "$manpage" ]; then
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -E UTF-8 -l "$manpage" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "manual page has formatting warnings: $warnings"
  page=$(LC_ALL=C.UTF-8 MANWIDTH=100 man -E UTF-8 -l "$manpage" 2>/dev/null | col -b)
  # Every option the installed program's help names, long and short, and the exit status of a
  # wrong line. The help needs no display.
  help=$(env -i PATH="$PATH" HOME="$2" "$prefix/bin/document-camera" --help) || fail "--help failed"
  options=$(printf '%s\n' "$help" | grep -oE '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u)
  [ -n "$options" ] || fail "--help names no options: $help"
  for option in $options; do
    printf '%s\n' "$page" | grep -qE -- "(^|[ ,])$option([ ,]|$)" || fail "manual page does not name $option"
  done
  for text in "SYNOPSIS" "[FILE|FOLDER]" "EXIT STATUS"; do
    printf '%s\n' "$page" | grep -qF -- "$text" || fail "manual page has no '$text'"
  done
  printf '%s\n' "$page" | grep -qE '^ +2 +The command line holds an unknown option' ||
    fail "manual page does not give status 2 for a wrong line"
else
  fail "$manpage missing"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "installed tree complete"
