#!/usr/bin/env bash
# Soak run of the whole program with the simulated camera (not part of CI): live preview in
# the real main window with a recording restarted every RECORD minutes and the camera
# unplugged and plugged in again every UNPLUG minutes, and during each recording a visit to
# Photograph mode with a 63 MP photograph and to Film mode playing an 8000x8000 film. Reports
# the resident memory over time, its growth after the warm-up, the files written, whether each
# of them plays to its end and whether it is as long as it was recorded.
#
#   scripts/soak.sh [MINUTES=30] [RECORD=5] [UNPLUG=7] [WARMUP=5]
#
# Minutes may be fractions (0.5) for a quick run. Environment: BUILD_DIR (default build),
# SOAK_DIR (default $BUILD_DIR/soak/<date-time>), VISITS=0 for live preview and recording only
# (the memory soak). Without DISPLAY it uses the offscreen platform.
set -euo pipefail

cd "$(dirname "$0")/.."
MINUTES=${1:-30}
RECORD=${2:-5}
UNPLUG=${3:-7}
WARMUP=${4:-5}
BUILD_DIR=${BUILD_DIR:-build}
VISITS=${VISITS:-1}
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
visit_files=()
if [ "$VISITS" != 0 ]; then
  # The photograph alone in its folder: Photograph mode opens the folder of the chosen picture.
  mkdir -p "$SOAK_DIR/visit/photograph"
  ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=9216x6912 -frames:v 1 -q:v 3 \
    "$SOAK_DIR/visit/photograph/big.jpg"
  ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=8000x8000:rate=5 -frames:v 3 -c:v mjpeg -q:v 10 \
    "$SOAK_DIR/visit/huge.avi"
  visit_files=("$SOAK_DIR/visit/photograph/big.jpg" "$SOAK_DIR/visit/huge.avi")
fi
echo "soak: $MINUTES min, recording every $RECORD min, unplug every $UNPLUG min, warm-up $WARMUP min, visits $([ "$VISITS" != 0 ] && echo on || echo off)"
echo "soak: output in $SOAK_DIR; platform ${QT_QPA_PLATFORM:-xcb (DISPLAY=$DISPLAY)}"
echo "soak: started $(date -u '+%F %T UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"

status=0
"$BUILD_DIR/bin/soak_live" "$SOAK_DIR" "$(seconds "$MINUTES")" "$(seconds "$RECORD")" \
  "$(seconds "$UNPLUG")" "$(seconds "$WARMUP")" "${visit_files[@]}" | tee "$SOAK_DIR/soak.log" || status=$?
echo "soak: ended $(date -u '+%F %T UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
if [ "$status" -ne 0 ]; then
  echo "soak: the soak program failed with status $status"
  exit "$status"
fi

# Each file: a video stream, decoding to its end without errors in FFmpeg and GStreamer, and
# as long as it was recorded: from its start to its stop in recordings.tsv, whether the soak
# stopped it or the window ended it after an unplug (the file then keeps the last picture up
# to that stop, as the recording clock ran). The file begins with the first frame after the
# record branch joined the live graph, a fraction of a second after the start, and its last
# frame is up to a frame short of the stop: 1 s covers both. The camera's frame clock may drift
# from the wall clock by a fraction of a percent over a recording: 1% covers that. A file off
# by more than max(1 s, 1%) lost (or invented) time and fails. Its frames, counted packet by
# packet, must also agree with the header's count and with its duration times its rate
# (within 2 frames): a header that counts too few frames is what a player trusts.
log="$SOAK_DIR/recordings.tsv"
echo
printf '%-24s %-7s %9s %9s %8s %6s %-26s %-6s %s\n' file ended recorded_s file_s diff_s tol_s frames:counted/header/expected video plays
total=0
good=0
shopt -s nullglob
for f in "$SOAK_DIR"/videos/*.avi; do
  total=$((total + 1))
  name=$(basename "$f")
  line=$(awk -F'\t' -v n="$name" '$1 == n' "$log" 2>/dev/null | tail -n1)
  recorded=$(printf '%s' "$line" | cut -f7)
  ended=$(printf '%s' "$line" | cut -f8)
  video=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height \
    -of csv=p=0 "$f" 2>/dev/null | head -n1 || true)
  duration=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$f" 2>/dev/null || true)
  stream=$(ffprobe -v error -select_streams v:0 -count_packets \
    -show_entries stream=nb_read_packets,nb_frames,avg_frame_rate -of default=nw=1 "$f" 2>/dev/null || true)
  counted=$(printf '%s\n' "$stream" | sed -n 's/^nb_read_packets=//p')
  header=$(printf '%s\n' "$stream" | sed -n 's/^nb_frames=//p')
  rate=$(printf '%s\n' "$stream" | sed -n 's/^avg_frame_rate=//p')
  expected=$(awk -v d="${duration:-0}" -v r="${rate:-0/1}" 'BEGIN { split(r, q, "/"); printf "%.0f", (q[2] > 0 ? d * q[1] / q[2] : 0) }')
  decode_errors=$(ffmpeg -nostdin -v error -i "$f" -f null - 2>&1 | wc -l)
  gst_ok=0
  gst-launch-1.0 -q filesrc location="$f" ! decodebin ! fakesink >/dev/null 2>&1 && gst_ok=1
  plays=no
  if [ -n "$video" ] && [ "$decode_errors" -eq 0 ] && [ "$gst_ok" -eq 1 ] \
     && awk -v d="${duration:-0}" 'BEGIN { exit !(d > 0) }'; then
    plays=yes
  fi
  read -r diff tol long_ok <<<"$(awk -v r="${recorded:-}" -v d="${duration:-0}" 'BEGIN {
    if (r == "") { print "? ? 0"; exit }
    t = (0.01 * r > 1 ? 0.01 * r : 1); x = d - r
    printf "%+.2f %.2f %d\n", x, t, (x <= t && x >= -t) }')"
  frames_ok=$(awk -v c="${counted:-0}" -v h="${header:-0}" -v e="$expected" 'BEGIN {
    x = c - e; y = c - h; print (c > 0 && x <= 2 && x >= -2 && y <= 2 && y >= -2) ? 1 : 0 }')
  verdict=$plays
  [ "$plays" = yes ] || verdict="no (ffmpeg errors $decode_errors, gstreamer decode ok $gst_ok)"
  if [ "$plays" = yes ] && [ "$long_ok" = 1 ] && [ "$frames_ok" = 1 ]; then
    good=$((good + 1))
  else
    [ -n "$line" ] || verdict="$verdict; NOT IN THE RECORDING LOG"
    [ "$long_ok" = 1 ] || verdict="$verdict; LENGTH OFF"
    [ "$frames_ok" = 1 ] || verdict="$verdict; FRAME COUNT OFF"
  fi
  printf '%-24s %-7s %9s %9.2f %8s %6s %-26s %-6s %s\n' "$name" "${ended:-?}" "${recorded:-?}" "${duration:-0}" \
    "$diff" "$tol" "${counted:-?}/${header:-?}/$expected" "${video%%,*}" "$verdict"
done
# A recording the log knows with no file of its own is lost, unless the camera was already
# pulled when it started: no picture reached it, and the program removes such an empty file.
lost=0
unkept=0
while IFS=$'\t' read -r name _ _ start_s _ unplugged_s _ _; do
  [ "$name" = file ] && continue
  if [ -z "$name" ] || [ ! -f "$SOAK_DIR/videos/$name" ]; then
    if [ "$unplugged_s" != - ] && awk -v u="$unplugged_s" -v s="$start_s" 'BEGIN { exit !(u <= s + 0.5) }'; then
      unkept=$((unkept + 1))
      echo "soak: the recording started at ${start_s} s had no camera (pulled at ${unplugged_s} s): no picture, no file"
    else
      lost=$((lost + 1))
      echo "soak: a recording of the log has no file: '${name}'"
    fi
  fi
done <"$log"
ended_by_window=$(awk -F'\t' 'NR > 1 && $8 == "window"' "$log" | wc -l)
echo
echo "soak: $good of $total files play to their end and are as long as they were recorded;" \
  "$lost recordings without a file; $unkept started on a camera already pulled (no file, as meant);" \
  "$ended_by_window ended by the window without a stop or an unplug"
grep -E '^  (memory growth|level of each|rss after|recordings started)' "$SOAK_DIR/soak.log" || true
[ "$total" -gt 0 ] && [ "$good" -eq "$total" ] && [ "$lost" -eq 0 ] && [ "$ended_by_window" -eq 0 ]
