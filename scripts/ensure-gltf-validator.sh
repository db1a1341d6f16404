#!/usr/bin/env bash
# Installs the Khronos glTF validator (npm package gltf-validator) into
# tools/gltf-validator/node_modules when it is not there yet. The test suite runs
# it on every mesh the tests write. Needs node and npm (scripts/ensure-deps.sh
# installs them where they are missing).
set -euo pipefail
cd "$(dirname "$0")/../tools/gltf-validator"
[ -f node_modules/gltf-validator/package.json ] && exit 0
echo "Installing the glTF validator into tools/gltf-validator/node_modules"
npm install --no-package-lock --no-audit --no-fund --loglevel=error
