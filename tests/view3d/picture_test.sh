#!/usr/bin/env bash
# meridal-3d-picture draws a picture of the size asked for (the view's tool bar
# not taken out of it), and a track whose side file names a terrain model stands
# in that land; a model that cannot be read is told, and the ground then lies
# under the track as without one.
#   usage: picture_test.sh MERIDAL-3D-PICTURE EXAMPLES WORK
set -u
picture=$1 examples=$2 work=$3
rm -rf "$work" && mkdir -p "$work" || exit 1
fail=0
for size in 320x200 200x320; do
  "$picture" "$examples/circuit.mrd" "$work/p.png" --size "$size" || { echo "FAIL: --size $size exits $?" >&2; fail=1; }
  # The width and height in the PNG's header, as four bytes each.
  got=$(od -An -tu1 -j16 -N8 "$work/p.png" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
  [ "$got" = "$size" ] || { echo "FAIL: --size $size gives $got" >&2; fail=1; }
done

# Hills of 40 m over 4 km about the plan's origin, as an ASCII grid in the plan's
# own metres.
cp "$examples/circuit.mrd" "$work/circuit.mrd"
awk 'BEGIN { n = 100; print "ncols " n "\nnrows " n "\nxllcorner -2000\nyllcorner -2000\ncellsize 40";
             for (j = 0; j < n; ++j) { row = "";
               for (i = 0; i < n; ++i) row = row " " 20 * sin((i - 50) / 6) * cos((j - 50) / 6) + 20;
               print row } }' > "$work/hills.asc"
take() {  # take NAME: the picture of the copy, its warnings in NAME.err
  "$picture" "$work/circuit.mrd" "$work/$1.png" --size 320x200 2>&1 >/dev/null | grep -v XDG_RUNTIME_DIR > "$work/$1.err"
}
take plain
side() { printf '{"terrain": {"model": "%s", "geographic": false, "offsetX": 0, "offsetY": 0, "heightOffset": 0}}\n' "$1" \
           > "$work/circuit.view.json"; }
side hills.asc
take land
[ ! -s "$work/land.err" ] || { echo "FAIL: on its land: $(cat "$work/land.err")" >&2; fail=1; }
cmp -s "$work/plain.png" "$work/land.png" && { echo "FAIL: the land changes nothing" >&2; fail=1; }
side missing.asc
take missing
grep -q "^meridal-3d-picture: warning: the terrain model is not drawn: " "$work/missing.err" ||
  { echo "FAIL: a missing model: $(cat "$work/missing.err")" >&2; fail=1; }
cmp -s "$work/plain.png" "$work/missing.png" || { echo "FAIL: a missing model is not the plain ground" >&2; fail=1; }
exit $fail
