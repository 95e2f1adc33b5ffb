#!/usr/bin/env bash
# Installs the packages the build, the program and the tests need.
# Quiet and quick when everything is already present.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-svg-dev
  qt6-image-formats-plugins libqt6svg6 qt6-translations-l10n
  libjpeg62-turbo-dev libpugixml-dev
  libgl-dev libglu1-mesa-dev libegl-dev libgles-dev mesa-common-dev libegl1-mesa-dev
  libgl1-mesa-dri
  fonts-liberation xvfb xauth
  proj-bin survex survex-aven poppler-utils therion libxml2-utils gpsbabel python3-ezdxf
  librsvg2-bin python3-shapely python3-pil
  locales clang libclang-rt-14-dev x11-utils
  xdotool imagemagick tesseract-ocr tesseract-ocr-fra
  chromium inkscape
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installation des paquets manquants : ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A French locale with a comma decimal point, used by the tests that check
# numbers never depend on the locale.
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf8$'; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *fr_FR.UTF-8 UTF-8/fr_FR.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null 2>&1 || true
  fi
fi
