#!/usr/bin/env bash
# meridal-3d-picture draws a picture of the size asked for, the view's tool bar
# not taken out of it.
#   usage: picture_size_test.sh MERIDAL-3D-PICTURE EXAMPLES WORK
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
exit $fail
