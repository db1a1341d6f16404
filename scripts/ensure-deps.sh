#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
# Usage: scripts/ensure-deps.sh [--gui] [--fuzz] [--screenshots] [--package]
set -euo pipefail

packages=(cmake g++ make pkg-config googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev rapidjson-dev
          libtinygltf-dev libpng-dev libeigen3-dev libtinyxml2-dev libgeographiclib-dev coinor-libipopt-dev
          libgdal-dev gdal-bin
          qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6opengl6-dev libgl-dev
          scdoc bash-completion)
# scdoc turns the manual pages into roff; the tests run the bash completion.
# The 3D view draws with OpenGL: on a machine without a graphics card (CI, Xvfb)
# Mesa's software renderer does it. Installed without recommended packages, the
# drivers have to be named.
mesa=(libgl1-mesa-dri libglx-mesa0 libegl1 libegl-mesa0)
for arg in "$@"; do
  case "$arg" in
    --gui) packages+=(xvfb xauth "${mesa[@]}") ;;
    --fuzz) packages+=(clang libclang-rt-dev) ;;
    # A window manager on the virtual display, so that pictures show the title bar.
    --screenshots) packages+=(xvfb xauth openbox "${mesa[@]}") ;;
    # The Debian package: CPack's dependencies (dpkg-shlibdeps), and the checks
    # scripts/check-package.sh makes of it.
    --package) packages+=(dpkg-dev file lintian desktop-file-utils appstream man-db xvfb xauth "${mesa[@]}") ;;
  esac
done

# The glTF validator that the tests run needs Node.js and npm. A machine may have
# them from elsewhere than Debian (npm then comes with nodejs): only the commands count.
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
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
fi

# The glTF validator, from the npm registry, into the project's own folder.
"$(dirname "$0")"/ensure-gltf-validator.sh
