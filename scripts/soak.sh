#!/usr/bin/env bash
# Soak run of the whole program with the simulated camera (not part of CI): live preview in
# the real main window with a recording restarted every RECORD minutes and the camera
# unplugged and plugged in again every UNPLUG minutes. Reports the resident memory over time,
# its growth after the warm-up, the files written and whether each of them plays.
#
#   scripts/soak.sh [MINUTES=30] [RECORD=5] [UNPLUG=7] [WARMUP=5]
#
# Minutes may be fractions (0.5) for a quick run. Environment: BUILD_DIR (default build),
# SOAK_DIR (default $BUILD_DIR/soak/<date-time>). Without DISPLAY it uses the offscreen platform.
set -euo pipefail

cd "$(dirname "$0")/.."
MINUTES=${1:-30}
RECORD=${2:-5}
UNPLUG=${3:-7}
WARMUP=${4:-5}
BUILD_DIR=${BUILD_DIR:-build}
SOAK_DIR=${SOAK_DIR:-$BUILD_DIR/soak/$(date +%Y%m%d-%H%M%S)}

seconds() { awk -v m="$1" 'BEGIN { printf "%d", m * 60 }'; }

if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR"
fi
cmake --build "$BUILD_DIR" --target soak_live -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
fi
mkdir -p "$SOAK_DIR"
echo "soak: $MINUTES min, recording every $RECORD min, unplug every $UNPLUG min, warm-up $WARMUP min"
echo "soak: output in $SOAK_DIR; platform ${QT_QPA_PLATFORM:-xcb (DISPLAY=$DISPLAY)}"
echo "soak: load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"

status=0
"$BUILD_DIR/bin/soak_live" "$SOAK_DIR" "$(seconds "$MINUTES")" "$(seconds "$RECORD")" \
  "$(seconds "$UNPLUG")" "$(seconds "$WARMUP")" | tee "$SOAK_DIR/soak.log" || status=$?
echo "soak: load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ "$status" -ne 0 ]; then
  echo "soak: the soak program failed with status $status"
  exit "$status"
fi

# Each file: a video stream, a duration above zero, and decoding to its end without errors.
echo
printf '%-28s %10s %10s %-24s %s\n' file MiB seconds video plays
total=0
playing=0
shopt -s nullglob
for f in "$SOAK_DIR"/videos/*.avi; do
  total=$((total + 1))
  mib=$(awk -v b="$(stat -c %s "$f")" 'BEGIN { printf "%.1f", b / 1048576 }')
  video=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height \
    -of csv=p=0 "$f" 2>/dev/null | head -n1 || true)
  duration=$(gst-discoverer-1.0 "$f" 2>/dev/null | awk '/Duration:/ { split($2, t, ":"); printf "%.1f", t[1] * 3600 + t[2] * 60 + t[3] }')
  decode_errors=$(ffmpeg -nostdin -v error -i "$f" -f null - 2>&1 | wc -l)
  if gst-launch-1.0 -q filesrc location="$f" ! decodebin ! fakesink >/dev/null 2>&1; then
    gst_ok=1
  else
    gst_ok=0
  fi
  verdict=no
  if [ -n "$video" ] && awk -v d="${duration:-0}" 'BEGIN { exit !(d > 0) }' \
     && [ "$decode_errors" -eq 0 ] && [ "$gst_ok" -eq 1 ]; then
    verdict=yes
    playing=$((playing + 1))
  else
    verdict="no (ffmpeg errors $decode_errors, gstreamer decode ok $gst_ok)"
  fi
  printf '%-28s %10s %10s %-24s %s\n' "$(basename "$f")" "$mib" "${duration:-?}" "${video:-none}" "$verdict"
done
echo
echo "soak: $playing of $total files play to their end"
grep -E '^  (memory growth|level of each|rss after|recordings started)' "$SOAK_DIR/soak.log" || true
[ "$total" -gt 0 ] && [ "$playing" -eq "$total" ]
