#!/usr/bin/env bash
# Installs everything needed to build, run and test the project on Debian 12 /
# Ubuntu. Idempotent: when every package is already present, apt is not run.
set -euo pipefail

PACKAGES=(
  g++ make cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6
  libgl-dev
  libbenchmark-dev
  xvfb xauth xdotool xclip x11-utils imagemagick
  clang-14 libclang-rt-14-dev llvm-14 lld-14
  fonts-dejavu-core
  desktop-file-utils appstream
  clang-format-14
  dpkg-dev file python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi

echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
if ! compgen -G "/var/lib/apt/lists/*_Packages*" >/dev/null; then
  $SUDO apt-get update -q
fi
if ! $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  # Lists may be stale on an image that was built long ago.
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
