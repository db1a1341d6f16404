#!/usr/bin/env bash
# Builds the editor and starts it on the example circuit.
# Usage: scripts/run.sh            (on a desktop)
#        xvfb-run -a scripts/run.sh (without a display)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-deps.sh --gui
jobs=$(nproc 2>/dev/null || echo 2)
build=${MERIDAL_BUILD_DIR:-build}
cmake -S . -B "$build" -DMERIDAL_BUILD_GUI=ON >/dev/null
cmake --build "$build" -j"$jobs" --target meridal meridal-cli

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "The editor is built, but there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "Run the editor on a virtual display instead:  xvfb-run -a scripts/run.sh" >&2
  exit 2
fi

example=examples/circuit.mrd
if [ ! -f "$example" ] && [ -f examples/make-circuit.sh ]; then
  bash examples/make-circuit.sh "$build/src/cli/meridal-cli"
fi

if [ -f "$example" ]; then
  exec "$build"/src/ui/meridal "$example"
fi
echo "note: $example is not there yet; starting without a document (File > New makes one)." >&2
exec "$build"/src/ui/meridal
