#!/usr/bin/env bash
# Builds examples/circuit.mrd with meridal-cli: a closed circuit of straights, left
# and right curves, five surface strips, non-zero heights on a few walls and a
# hill; a well-made track that passes `meridal-cli check`. Beside it, the same
# track as readable text, circuit.json.
# Usage: examples/make-circuit.sh [MERIDAL-CLI] [OUT.mrd]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/src/cli/meridal-cli}
out=${2:-$here/circuit.mrd}
tmp=$(mktemp "${out%/*}/.circuit.XXXXXX")
trap 'rm -f "$tmp"' EXIT

m() { "$cli" "$@" >/dev/null; }
r=984252  # the radius of every curve and the unit of the straights: 50 m

m new "$tmp"
# The cross-section of the first straight, which every later section copies:
# grass | tarmac | curbs | gravel, closed by the left border.
m edit "$tmp" "section 0/wall 0" add-before       # a wall 10 m right of the tarmac
m set "$tmp" "section 0/wall 0" Surface 4         # Grass
m edit "$tmp" "section 0/wall 2" add-after        # a wall 10 m left of the tarmac
m edit "$tmp" "section 0/wall 2" add-after        # halfway between: curbs, then gravel
m set "$tmp" "section 0/wall 2" Surface 3         # Curbs
m set "$tmp" "section 0/wall 3" Surface 6         # Gravel
m set "$tmp" "section 0/wall 4" Surface 10        # Left Border
m trace "$tmp" add-after 0                        # a trace on the centre line
m set "$tmp" "section 0" Length $((4 * r))

# Appends a section after the last one (a copy placed at its end) and makes it a
# straight of N units of r, or a curve to the left (degrees > 0) or right (< 0).
sections=1
append() {
  m edit "$tmp" "section $((sections - 1))" add-after
  local type
  type=$("$cli" props "$tmp" "section $sections" | awk -F '\t' '$1 == "Type" { print $2 }')
  if [ "$type" != "$1" ]; then
    m edit "$tmp" "section $sections" change-type
  fi
}
straight() {
  append 1
  m set "$tmp" "section $sections" Length $(($1 * r))
  sections=$((sections + 1))
}
curve() {
  append 2
  m set "$tmp" "section $sections" Radius $r
  m set "$tmp" "section $sections" Curvature "$1" --base curv
  sections=$((sections + 1))
}
curve 90;  straight 2; curve 90; straight 1
curve 90;  curve -90;  straight 1
curve 90;  curve 90

# Heights and flags that the drawing shows with hatches.
m set "$tmp" "section 2/wall 1" Height 19685      # a 1 m step on the tarmac
m set "$tmp" "section 4/wall 3" Unk1 1
m set "$tmp" "section 6/wall 0" Surface 2052      # grass with the extra marking

# A hill of 2 m over the straight and the curve after it, the same on every
# trace: h(t) = 2 m (3t^2 - 2t^3) up, then down the same way. It starts and ends
# level, so heights and gradients meet at every joint.
hill=39370
m set "$tmp" "section 2/altitude 0" "3rd order coeff." $((-2 * hill))
m set "$tmp" "section 2/altitude 0" "2nd order coeff." $((3 * hill))
m edit "$tmp" "section 2/altitude 0" copy-altitude
m set "$tmp" "section 3/altitude 0" "3rd order coeff." $((2 * hill))
m set "$tmp" "section 3/altitude 0" "2nd order coeff." $((-3 * hill))
m set "$tmp" "section 3/altitude 0" "Height@Start" $hill
m edit "$tmp" "section 3/altitude 0" copy-altitude

"$cli" check "$tmp" >/dev/null
mv "$tmp" "$out"
trap - EXIT
"$cli" convert "$out" "${out%.mrd}.json"
echo "wrote $out ($sections sections) and ${out%.mrd}.json"
