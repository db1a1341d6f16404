#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
# Usage: scripts/ensure-deps.sh [--gui] [--fuzz] [--screenshots]
set -euo pipefail

packages=(cmake g++ make pkg-config googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
          libeigen3-dev libtinyxml2-dev libgeographiclib-dev
          qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev)
for arg in "$@"; do
  case "$arg" in
    --gui) packages+=(xvfb xauth) ;;
    --fuzz) packages+=(clang libclang-rt-dev) ;;
    # A window manager on the virtual display, so that pictures show the title bar.
    --screenshots) packages+=(xvfb xauth openbox) ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then sudo_cmd=(sudo); else
    echo "error: need root or sudo to install: ${missing[*]}" >&2; exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
