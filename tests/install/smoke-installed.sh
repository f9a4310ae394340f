#!/usr/bin/env bash
# Runs the installed program as a user would, as a process of its own: installs the build tree
# into a fresh prefix, starts the program from <prefix>/bin with the simulated camera and a
# fresh home, waits for its window and the live picture, takes a screenshot, closes the window
# and checks the exit status and the settings file the camera's plug-in wrote.
#   x11:     on the X display this script is started on (xvfb-run); the window is found with
#            xdotool and closed through its own close button.
#   wayland: as a native Wayland client of the compositor this script is started in
#            (tests/support/on-weston.sh headless); the window is found on the compositor's
#            screenshots. A headless compositor has no pointer to click with, so the program is
#            ended as a desktop session ends it, by SIGTERM, which closes the window as the close
#            button does (the button itself is clicked on Wayland by tstwx_systemmove).
# Usage: smoke-installed.sh <build dir> <scratch dir> [x11|wayland]
set -u
build=$1
scratch=$2
platform=${3:-x11}
prefix=$scratch/prefix
home=$scratch/home
log=$scratch/program.log
shots=$build/screenshots/installed-smoke
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

case "$platform" in
  x11)
    tools=(xdotool import convert identify)
    [ -n "${DISPLAY:-}" ] || { echo "FAIL: no X display (run under xvfb-run)"; exit 1; } ;;
  wayland)
    tools=(weston-screenshooter convert identify)
    [ -n "${WAYLAND_DISPLAY:-}" ] || { echo "FAIL: no Wayland compositor (run under on-weston.sh)"; exit 1; } ;;
  *) echo "usage: smoke-installed.sh <build dir> <scratch dir> [x11|wayland]"; exit 1 ;;
esac
for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool missing (scripts/install-deps.sh installs it)"; exit 1; }
done

rm -rf "$prefix" "$home" "$shots/$platform.png"
mkdir -p "$home/runtime" "$shots"
chmod 700 "$home/runtime"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

# A first run on a fresh account: nothing of the test environment's own settings or caches.
# Only a sanitizer build's options pass through, so that its reports fail the run.
passed=()
for v in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS TSAN_OPTIONS G_SLICE; do
  [ -n "${!v:-}" ] && passed+=("$v=${!v}")
done
if [ "$platform" = x11 ]; then
  display=(DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" XDG_RUNTIME_DIR="$home/runtime")
else
  # The compositor's socket is in its runtime folder.
  display=(WAYLAND_DISPLAY="$WAYLAND_DISPLAY" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" QT_QPA_PLATFORM=wayland)
fi
# The lines this script waits on are the program's own, quiet unless asked for.
env -i PATH="$PATH" "${display[@]}" HOME="$home" LANG=C.UTF-8 DOCUMENT_CAMERA_SIMULATED=1 "${passed[@]}" \
  QT_LOGGING_RULES="doccam.*.info=true;doccam.trace.debug=true" \
  "$prefix/bin/document-camera" >"$log" 2>&1 &
pid=$!

stop_program() {
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

# The program's screen as the compositor shows it, with what is not desktop (the window) cropped
# out: its geometry in X, Y, WIDTH, HEIGHT.
compositor_window() {
  rm -f "$scratch"/wayland-screenshot-*.png
  (cd "$scratch" && weston-screenshooter) >/dev/null 2>&1 || return 1
  local shot
  shot=$(ls "$scratch"/wayland-screenshot-*.png 2>/dev/null | head -1)
  [ -n "$shot" ] || return 1
  mv "$shot" "$scratch/screen.png"
  # The bounding box of what differs from the desktop's colour (tests/support/on-weston.sh).
  local box
  box=$(convert "$scratch/screen.png" -fuzz 2% -bordercolor '#203040' -border 1 -trim -format '%w %h %X %Y' info: 2>/dev/null) || return 1
  read -r WIDTH HEIGHT X Y <<<"$box"
  X=$((${X#+} - 1))
  Y=$((${Y#+} - 1))
}

# The main window: the program's largest visible top-level window (Qt also maps small helper
# windows of its own on X11).
window=""
for _ in $(seq 1 60); do
  kill -0 "$pid" 2>/dev/null || break
  if [ "$platform" = x11 ]; then
    for id in $(xdotool search --onlyvisible --classname document-camera 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id")"
      if [ "${WIDTH:-0}" -gt 300 ] && [ "${HEIGHT:-0}" -gt 300 ]; then
        window=$id
        break
      fi
    done
  elif compositor_window && [ "${WIDTH:-0}" -gt 300 ] && [ "${HEIGHT:-0}" -gt 300 ]; then
    window=wayland
  fi
  [ -n "$window" ] && break
  sleep 0.5
done
if [ -z "$window" ]; then
  fail "no program window within 30 s"
  stop_program
  cat "$log"
  exit 1
fi
[ "$platform" = x11 ] && eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $window at ${X},${Y} size ${WIDTH}x${HEIGHT}"

# The live picture has arrived once the canvas took the camera's first frame size.
for _ in $(seq 1 60); do
  grep -q "streamImageCaptured(), reset szie" "$log" && break
  sleep 0.5
done
grep -q "streamImageCaptured(), reset szie" "$log" || fail "no live picture within 30 s"
# A few refreshes so that the picture is painted, not just received.
sleep 1

shot=$shots/$platform.png
if [ "$platform" = x11 ]; then
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot" 2>/dev/null || fail "screenshot failed"
else
  # Now that the picture is painted.
  compositor_window && convert "$scratch/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot" ||
    fail "screenshot failed"
fi
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

if [ "$platform" = x11 ]; then
  # The close button sits 38 px from the right edge and 4 px from the top, 18 x 16 px.
  xdotool mousemove --sync $((X + WIDTH - 38 + 9)) $((Y + 4 + 8)) click 1
else
  kill -TERM "$pid"
fi
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
  fail "program still running 20 s after it was asked to close"
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

if [ "$platform" = wayland ]; then
  grep -q "signal 15 received: closing the windows" "$log" || fail "the program did not close its windows on SIGTERM"
fi
if grep -Eq "AddressSanitizer|LeakSanitizer|runtime error:|Segmentation|Aborted|QObject::connect: No such" "$log"; then
  fail "program log reports a fault"
fi

if [ "$failures" -ne 0 ]; then
  echo "---- program log"
  cat "$log"
  echo "$failures check(s) failed"
  exit 1
fi
echo "installed program started on $platform, showed the live picture and closed cleanly"
