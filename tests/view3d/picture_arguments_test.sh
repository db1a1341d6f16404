#!/usr/bin/env bash
# meridal-3d-picture refuses what its options do not take, with its usage (exit 2)
# or the reason (exit 1), and writes no picture: no value is read as 0, and no
# picture of gigabytes is begun. Runs without a display: each refusal comes first.
#   usage: picture_arguments_test.sh MERIDAL-3D-PICTURE EXAMPLES WORK
set -u
picture=$1 examples=$2 work=$3
rm -rf "$work" && mkdir -p "$work" || exit 1
export QT_QPA_PLATFORM=offscreen
fail=0
refused() {
  local code=$1; shift
  "$picture" "$examples/circuit.mrd" "$work/p.png" "$@" >/dev/null 2>"$work/err"
  local got=$?
  [ $got = "$code" ] || { echo "FAIL: $* exits $got, not $code" >&2; fail=1; }
  [ ! -e "$work/p.png" ] || { echo "FAIL: $* wrote a picture" >&2; fail=1; rm -f "$work/p.png"; }
}
for size in 0x0 -5x10 100000x100000 4097x10 12x abcx5 12; do refused 2 --size "$size"; done
refused 2 --heights 3
refused 2 --select x
refused 2 --drive 2 --along nan
refused 2 --size
refused 1 --select 10
grep -qx "meridal-3d-picture: the track has no section 10" "$work/err" || { echo "FAIL: message: $(cat "$work/err")" >&2; fail=1; }
exit $fail
