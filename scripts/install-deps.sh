#!/usr/bin/env bash
# Installs the Debian 12 packages Tessimo needs to build, run and test.
# Idempotent: asks apt only when something is missing.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-svg-dev libqt6svg6
  libfluidsynth-dev portaudio19-dev libasound2-dev libsqlite3-dev libsamplerate0-dev
  librtmidi-dev libjack-jackd2-dev
  timgm6mb-soundfont fonts-liberation
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev
  clang libclang-rt-14-dev
  pulseaudio pulseaudio-utils espeak-ng sox
  jackd2
  xvfb xdotool x11-apps imagemagick
  # the Debian package and the checks of its desktop entry and AppStream file
  dpkg-dev appstream desktop-file-utils
  # the French interface: lrelease turns the translation sources into .qm files
  qt6-l10n-tools
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
