#!/usr/bin/env bash
# Takes the pictures under docs/screenshots/ on a virtual display with a window
# manager, so that the title bar and the status bar show:
#   main-window-edited.png  the example circuit with a change not yet saved and an
#                           export just made ("circuit.mrd* – Meridal")
#   profile-window.png      the elevation profile of the circuit given hills, the
#                           selected trace coloured by its gradient
#   check-window.png        the track check of the same circuit with a few faults
#   history-window.png      the circuit after a few edits, the last one undone, with
#                           Window > History beside the tree and the plan
#   shape-drag.png          the plan view with an arc's end being dragged and its read-out
#   shape-draw-arc.png      the plan view with an arc being drawn out of the last section
#   tools-draw-straight.png the Tools toolbar on Draw Straight, a straight being drawn out
#                           of the last section with its length typed ("150 m")
#   section-run.png         sections 1 to 4 selected in the plan by a click and a
#                           Shift+click, the list showing the run's count and length
#   3d-orbit-hills.png      the 3D view of the circuit with hills, heights five times
#                           over, section 6 selected, and the 1 m block on section 2
#   3d-drive.png            the 3D view riding section 0 up the first hill
#   damaged-file.png        the warning of a damaged project file: the circuit with
#                           bytes of two wall records and a trace point changed
#   measure-tool.png        the plan alone, a measuring drag along the track with Alt
#   background-image.png    the circuit traced over an aerial picture drawn from it,
#                           with the Background Image dialog
#   fitted-centreline.png   examples/Monza.csv fitted by File > Import Centreline…, the
#                           source line drawn over the plan
#   lap-window.png          the circuit with hills driven: the Lap window, the profile
#                           with the speeds under the heights, the plan coloured by speed
# Usage: scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh --screenshots
build=${MERIDAL_BUILD_DIR:-build}
cmake -S . -B "$build" -DMERIDAL_BUILD_GUI=ON >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target meridal meridal-cli meridal-3d-picture

cli=$build/src/cli/meridal-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
m() { "$cli" "$@" >/dev/null; }

# Hills: each section climbs from one height to the next with level ends,
# h(t) = h0 + (h1 - h0)(3t^2 - 2t^3); the outer traces lie 0.3 m below and above
# the centre's. Heights in metres at the section starts; the last meets the first.
hills=$work/circuit-hills.mrd
cp examples/circuit.mrd "$hills"
heights=(0 6 10 8 3 5 12 9 4 1 0)
unit=19685  # track units in a metre
for s in $(seq 0 9); do
  h0=$(( heights[s] * unit )); rise=$(( (heights[s + 1] - heights[s]) * unit ))
  for j in 0 1 2; do
    offset=$(( (j - 1) * 3 * unit / 10 ))
    m set "$hills" "section $s/altitude $j" "Height@Start" $(( h0 + offset ))
    m set "$hills" "section $s/altitude $j" "2nd order coeff." $(( 3 * rise ))
    m set "$hills" "section $s/altitude $j" "3rd order coeff." $(( -2 * rise ))
    m set "$hills" "section $s/altitude $j" "1st order coeff." 0
  done
done

# Faults: a section pushed sideways, a section turned, a raised trace and a wall
# that jumps.
cp examples/circuit.mrd "$work/circuit.mrd"
faults=$work/circuit-faults.mrd
cp "$hills" "$faults"
m set "$faults" "section 4" "Lateral gap" 2500
m set "$faults" "section 8" "Orientation mismatch" 2 --base deg
m set "$faults" "section 6/altitude 1" "Height@Start" $(( heights[6] * unit + unit / 2 ))
m set "$faults" "section 2/wall 1" From -150000

# Damage: one byte changed in each of two wall records and in an altitude record.
mkdir -p "$work/damaged"
damaged=$work/damaged/circuit.mrd
cp examples/circuit.mrd "$damaged"
for offset in 2500 2600 1000; do
  byte=$(od -An -tu1 -j "$offset" -N1 "$damaged")
  printf "$(printf '\\%03o' $(( (byte ^ 0x5A) & 255 )))" | dd of="$damaged" bs=1 seek="$offset" conv=notrunc status=none
done

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  app=$1/src/ui/meridal
  status=0
  "$app" examples/circuit.mrd --screenshot docs/screenshots/main-window-edited.png --screenshot-edited || status=1
  "$app" "$2" --screenshot docs/screenshots/profile-window.png --screenshot-view profile || status=1
  "$app" "$3" --screenshot docs/screenshots/check-window.png --screenshot-view check || status=1
  "$app" examples/circuit.mrd --screenshot docs/screenshots/history-window.png --screenshot-view history || status=1
  "$app" "$4" --screenshot-message docs/screenshots/damaged-file.png || status=1
  "$app" examples/circuit.mrd --screenshot docs/screenshots/measure-tool.png --screenshot-view measure || status=1
  # Its side file lands beside the track: a copy, not the example.
  "$app" "$5" --screenshot docs/screenshots/background-image.png --screenshot-view background || status=1
  "$app" examples/circuit.mrd --screenshot docs/screenshots/shape-drag.png --screenshot-view drag || status=1
  "$app" examples/circuit.mrd --screenshot docs/screenshots/shape-draw-arc.png --screenshot-view draw-arc || status=1
  "$app" examples/circuit.mrd --screenshot docs/screenshots/tools-draw-straight.png --screenshot-view draw-straight || status=1
  "$app" examples/Monza.csv --screenshot docs/screenshots/fitted-centreline.png --screenshot-view centreline || status=1
  "$app" examples/circuit.mrd --screenshot docs/screenshots/section-run.png --screenshot-view section-run || status=1
  "$app" "$2" --screenshot docs/screenshots/lap-window.png --screenshot-view lap || status=1
  kill "$wm"
  exit "$status"' screenshots "$build" "$hills" "$faults" "$damaged" "$work/circuit.mrd"
# The 3D view draws with OpenGL: Mesa's software renderer on the virtual display.
picture=$build/src/ui/view3d/meridal-3d-picture
xvfb-run -a -s "-screen 0 1600x1000x24" "$picture" "$hills" docs/screenshots/3d-orbit-hills.png --heights 5 --select 6
xvfb-run -a -s "-screen 0 1600x1000x24" "$picture" "$hills" docs/screenshots/3d-drive.png --drive 0 --along 150 --heights 2
echo "wrote docs/screenshots/main-window-edited.png, profile-window.png, check-window.png, history-window.png," \
     "damaged-file.png, measure-tool.png, background-image.png, shape-drag.png, shape-draw-arc.png, tools-draw-straight.png, section-run.png," \
     "fitted-centreline.png, lap-window.png, 3d-orbit-hills.png and 3d-drive.png"
