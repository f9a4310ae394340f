#!/usr/bin/env bash
# Runs a command as a client of a Weston compositor of its own and returns the command's status.
#   headless: Weston's headless backend, drawn in memory (pixman). It has no seat: no pointer and
#             no keyboard reach its clients.
#   nested:   Weston's X11 backend in a window on the X display this script runs on (xvfb-run),
#             with that display's pointer and keyboard as its seat, so xdotool drives it.
# The desktop is a plain 0x203040 background without a panel, so that a screenshot shows the
# clients' windows on one colour. Screenshots are allowed (--debug): weston-screenshooter writes
# the whole output into the folder it runs in. The command gets WAYLAND_DISPLAY,
# QT_QPA_PLATFORM=wayland, DOCCAM_WESTON=<backend> and DOCCAM_WESTON_SIZE=<width>x<height>.
# Usage: on-weston.sh headless|nested <command> [arguments...]
set -u
backend=$1
shift
width=1280
height=900

command -v weston >/dev/null || { echo "FAIL: weston missing (scripts/install-deps.sh installs it)"; exit 1; }
case "$backend" in
  headless) backend_args=(--backend=headless-backend.so --use-pixman) ;;
  nested)
    [ -n "${DISPLAY:-}" ] || { echo "FAIL: no X display for a nested Weston (run under xvfb-run)"; exit 1; }
    backend_args=(--backend=x11-backend.so --use-pixman --output-count=1) ;;
  *) echo "usage: on-weston.sh headless|nested <command> [arguments...]"; exit 1 ;;
esac

work=$(mktemp -d "${TMPDIR:-/tmp}/doccam-weston.XXXXXX")
# The compositor's socket lives in a private runtime folder; ctest gives each test one.
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
  export XDG_RUNTIME_DIR=$work/runtime
  mkdir -p "$XDG_RUNTIME_DIR"
fi
chmod 700 "$XDG_RUNTIME_DIR"
socket=doccam-weston-$$
cat >"$work/weston.ini" <<EOF
[core]
idle-time=0

[shell]
background-color=0xff203040
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
EOF

weston "${backend_args[@]}" --width=$width --height=$height --socket=$socket --debug \
  --config="$work/weston.ini" --log="$work/weston.log" &
weston_pid=$!

stop_weston() {
  kill "$weston_pid" 2>/dev/null
  wait "$weston_pid" 2>/dev/null
}
# A test stopped from outside (ctest's time limit) takes its compositor along.
trap 'stop_weston; rm -rf "$work"; exit 1' TERM INT HUP

# The socket appears once the compositor listens; the desktop shell client follows at once.
for _ in $(seq 1 100); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$XDG_RUNTIME_DIR/$socket" ]; then
  echo "FAIL: Weston ($backend) did not start"
  cat "$work/weston.log"
  stop_weston
  rm -rf "$work"
  exit 1
fi
sleep 0.5
# Weston's X11 backend takes the pointer only once it enters the compositor's window, and the
# X server's pointer starts in the middle of the screen, inside that window, without having
# entered it: it starts outside here (the X screen is larger than the compositor's output).
if [ "$backend" = nested ] && command -v xdotool >/dev/null; then
  xdotool mousemove --sync $((width + 40)) $((height + 40)) 2>/dev/null || true
fi

WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland DOCCAM_WESTON=$backend DOCCAM_WESTON_SIZE=${width}x$height "$@"
status=$?

stop_weston
if [ "$status" -ne 0 ]; then
  echo "---- Weston log"
  cat "$work/weston.log"
fi
rm -rf "$work"
exit $status
