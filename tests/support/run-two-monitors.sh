#!/bin/bash
# Runs a program on a virtual X display of two monitors side by side: the X server with its dummy
# video driver (xserver-xorg-video-dummy), whose RandR outputs DUMMY0 (1280x720, primary, left)
# and DUMMY1 (1024x768, right) are two screens to the program. Unlike Xvfb's, these outputs can
# be switched off and on while the program runs ("xrandr --output DUMMY1 --off"), which is what
# unplugging a projector looks like to it. Exit status: the program's; 77 when no such display
# can be made here (the test is then reported as skipped).
#
# Usage: run-two-monitors.sh <work folder> <program> [arguments...]
set -u
work=$1
shift
mkdir -p "$work"

xorg=/usr/lib/xorg/Xorg
if [ ! -x "$xorg" ] || [ ! -f /usr/lib/xorg/modules/drivers/dummy_drv.so ] || ! command -v xrandr >/dev/null; then
  echo "run-two-monitors: the X server's dummy driver or xrandr is missing (scripts/install-deps.sh)" >&2
  exit 77
fi

cat > "$work/xorg.conf" <<'CONF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 192000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 2400 1200
    EndSubSection
EndSection
CONF

# A display number nobody uses.
display=
for n in $(seq 140 199); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    display=$n
    break
  fi
done
if [ -z "$display" ]; then
  echo "run-two-monitors: no free display number" >&2
  exit 77
fi

"$xorg" ":$display" -noreset -nolisten tcp -novtswitch -logfile "$work/xorg.log" -config "$work/xorg.conf" \
  >"$work/xorg.out" 2>&1 &
server=$!
cleanup() {
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
}
trap cleanup EXIT

export DISPLAY=":$display"
ready=
for _ in $(seq 1 100); do
  if xrandr >/dev/null 2>&1; then
    ready=1
    break
  fi
  if ! kill -0 "$server" 2>/dev/null; then
    break
  fi
  sleep 0.1
done
if [ -z "$ready" ]; then
  echo "run-two-monitors: the X server did not start:" >&2
  tail -5 "$work/xorg.out" >&2
  exit 77
fi

xrandr --addmode DUMMY1 1024x768 &&
  xrandr --output DUMMY0 --mode 1280x720 --pos 0x0 --primary --output DUMMY1 --mode 1024x768 --pos 1280x0 || {
  echo "run-two-monitors: the two monitors could not be set up" >&2
  exit 77
}
# Programs read the server's current configuration without asking it to look at its outputs
# again; a full query does, so that they find both monitors configured.
monitors=
for _ in $(seq 1 50); do
  if [ "$(xrandr --listmonitors 2>/dev/null | head -1)" = "Monitors: 2" ] && xrandr >/dev/null 2>&1; then
    monitors=1
    break
  fi
  sleep 0.1
done
if [ -z "$monitors" ]; then
  echo "run-two-monitors: the server does not report two monitors" >&2
  exit 77
fi

"$@"
