#!/usr/bin/env bash
# Takes the picture docs/screenshots/main-window-edited.png: the example circuit
# open with a change not yet saved and an export just made, on a virtual display
# with a window manager, so that the title bar ("circuit.mrd* – Meridal") and the
# status bar's note show.
# Usage: scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh --screenshots
build=${MERIDAL_BUILD_DIR:-build}
cmake -S . -B "$build" -DMERIDAL_BUILD_GUI=ON >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target meridal

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  "$1"/src/ui/meridal examples/circuit.mrd --screenshot docs/screenshots/main-window-edited.png --screenshot-edited
  status=$?
  kill "$wm"
  exit "$status"' screenshots "$build"
echo "wrote docs/screenshots/main-window-edited.png"
