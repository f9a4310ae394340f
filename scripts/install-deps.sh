#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Document Camera needs.
# Idempotent: packages already present are left alone, and apt is only asked when something
# is missing. Uses sudo when not run as root.
set -euo pipefail

PACKAGES=(
  # toolchain, and the formatter CI checks the sources with
  build-essential cmake pkg-config clang-format
  # the compiler cache the build uses whenever it is installed
  ccache
  # Qt 5: widgets, printing, linguist tools
  qtbase5-dev qtbase5-dev-tools qttools5-dev qttools5-dev-tools libqt5svg5
  # GStreamer: development files, the plug-ins the program builds its graphs from, tools
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly
  gstreamer1.0-plugins-bad gstreamer1.0-libav gstreamer1.0-pulseaudio gstreamer1.0-alsa
  gstreamer1.0-tools gstreamer1.0-plugins-base-apps
  # libjpeg-turbo: decoding camera frames straight into the canvas's layout; with libpng,
  # decoding photographs at the size they are shown
  libjpeg62-turbo-dev libpng-dev
  # the X desktop's scale (Xft.dpi), read before the toolkit opens the display
  libxcb1-dev
  # camera device headers (V4L2, uvcvideo)
  linux-libc-dev
  # printing through CUPS
  libcups2
  # fonts: glyphs for the generated artwork, Arial-compatible text faces, CJK for translations
  fonts-material-design-icons-iconfont fonts-liberation fonts-dejavu-core fonts-noto-cjk
  # tests: whole-window runs under a virtual display, film fixtures and probing
  xvfb xauth x11-utils ffmpeg imagemagick
  # tests: validating the installed AppStream metainfo, clicking the installed program's
  # window in its smoke run
  appstream xdotool
  # tests: a display of two monitors, one of them unplugged while a test runs (the projector
  # screen): the X server's dummy driver and xrandr
  xserver-xorg-video-dummy x11-xserver-utils
  # tests: the fake UVC camera encodes its frames with libjpeg
  libjpeg62-turbo-dev
  # Wayland: Qt's Wayland platform, and Weston as the compositor the Wayland tests run on
  # (headless, or nested in Xvfb for a pointer of its own), with its screenshooter
  qtwayland5 weston
  # tests: an X11 window manager that moves and resizes windows on request (_NET_WM_MOVERESIZE)
  openbox
  # fonts that installing these packages on a desktop commonly brings along (ghostscript's among
  # them); their fontconfig set-up is part of what the sanitizer builds run with (tests/lsan.supp)
  fonts-urw-base35 fonts-droid-fallback fonts-noto-mono
  # tests: the installed desktop entry is validated
  desktop-file-utils
  # OpenCV (core, image processing) for page detection and clean-up
  libopencv-imgproc-dev libopencv-core-dev
  # Tesseract with its language data (English, German, Spanish, French, Japanese, Russian,
  # traditional Chinese) for searchable PDFs of scanned pages
  libtesseract-dev libleptonica-dev tesseract-ocr tesseract-ocr-eng tesseract-ocr-deu
  tesseract-ocr-spa tesseract-ocr-fra tesseract-ocr-jpn tesseract-ocr-rus tesseract-ocr-chi-tra
  # PDF checks (qpdf) and reading PDFs back in tests (pdftotext, pdfimages)
  qpdf poppler-utils
  # Video4Linux tools and library (v4l2-ctl, libv4l2)
  v4l-utils libv4l-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#PACKAGES[@]} packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
