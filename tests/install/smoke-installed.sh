#!/usr/bin/env bash
# Runs the installed program as a user would, as a process of its own on the X display this
# script is started on (xvfb-run): installs the build tree into a fresh prefix, starts the
# program from <prefix>/bin with the simulated camera and a fresh home, waits for its window
# and the live picture, takes a screenshot, closes the window through its own close button and
# checks the exit status and the settings file the camera's plug-in wrote.
# Usage: smoke-installed.sh <build dir> <scratch dir>
set -u
build=$1
scratch=$2
prefix=$scratch/prefix
home=$scratch/home
log=$scratch/program.log
shots=$build/screenshots/installed-smoke
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for tool in xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool missing (scripts/install-deps.sh installs it)"; exit 1; }
done
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X display (run under xvfb-run)"; exit 1; }

rm -rf "$prefix" "$home" "$shots"
mkdir -p "$home/runtime" "$shots"
chmod 700 "$home/runtime"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

# A first run on a fresh account: nothing of the test environment's own settings or caches.
# Only a sanitizer build's options pass through, so that its reports fail the run.
passed=()
for v in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS TSAN_OPTIONS G_SLICE; do
  [ -n "${!v:-}" ] && passed+=("$v=${!v}")
done
env -i PATH="$PATH" DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" HOME="$home" \
  XDG_RUNTIME_DIR="$home/runtime" LANG=C.UTF-8 DOCUMENT_CAMERA_SIMULATED=1 "${passed[@]}" \
  "$prefix/bin/document-camera" >"$log" 2>&1 &
pid=$!

stop_program() {
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

# The main window: the program's largest visible top-level window (Qt also maps small helper
# windows of its own).
window=""
for _ in $(seq 1 60); do
  kill -0 "$pid" 2>/dev/null || break
  for id in $(xdotool search --onlyvisible --classname document-camera 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if [ "${WIDTH:-0}" -gt 300 ] && [ "${HEIGHT:-0}" -gt 300 ]; then
      window=$id
      break
    fi
  done
  [ -n "$window" ] && break
  sleep 0.5
done
if [ -z "$window" ]; then
  fail "no program window within 30 s"
  stop_program
  cat "$log"
  exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $window at ${X},${Y} size ${WIDTH}x${HEIGHT}"

# The live picture has arrived once the canvas took the camera's first frame size.
for _ in $(seq 1 60); do
  grep -q "streamImageCaptured(), reset szie" "$log" && break
  sleep 0.5
done
grep -q "streamImageCaptured(), reset szie" "$log" || fail "no live picture within 30 s"
# A few refreshes so that the picture is painted, not just received.
sleep 1

shot=$shots/window.png
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot" 2>/dev/null ||
  fail "screenshot failed"
if [ -f "$shot" ]; then
  # The simulated camera shows colour bars: a window that shows them has many colours and
  # strongly saturated ones; a black or blank window has neither.
  colours=$(identify -format '%k' "$shot" 2>/dev/null)
  saturation=$(convert "$shot" -colorspace HSL -channel G -separate +channel \
    -format '%[fx:maxima]' info: 2>/dev/null)
  echo "screenshot $shot: $colours colours, peak saturation $saturation"
  [ "${colours:-0}" -gt 50 ] || fail "screenshot has only ${colours:-0} colours"
  awk -v s="${saturation:-0}" 'BEGIN { exit !(s > 0.8) }' || fail "no live picture in the screenshot"
fi

# The close button sits 38 px from the right edge and 4 px from the top, 18 x 16 px.
xdotool mousemove --sync $((X + WIDTH - 38 + 9)) $((Y + 4 + 8)) click 1
status=""
for _ in $(seq 1 40); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    status=$?
    break
  fi
  sleep 0.5
done
if [ -z "$status" ]; then
  fail "program still running 20 s after its close button was clicked"
  stop_program
else
  [ "$status" -eq 0 ] || fail "program exited with status $status"
fi

settings="$home/.config/Quillmore/Document Camera.conf"
if [ -f "$settings" ]; then
  grep -q '^flicker=' "$settings" || fail "settings file has no flicker setting: $(cat "$settings")"
else
  fail "settings file $settings not written"
fi

if grep -Eq "AddressSanitizer|runtime error:|Segmentation|Aborted|QObject::connect: No such" "$log"; then
  fail "program log reports a fault"
fi

if [ "$failures" -ne 0 ]; then
  echo "---- program log"
  cat "$log"
  echo "$failures check(s) failed"
  exit 1
fi
echo "installed program started, showed the live picture and closed cleanly"
