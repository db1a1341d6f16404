#!/usr/bin/env bash
# The bash completion of meridal-cli, as bash-completion loads it, with the real
# program on a real track: commands, options and their values, files by
# extension, the objects read from the track and the names of their values.
#   usage: completion_test.sh COMPLETION MERIDAL-CLI EXAMPLES WORK
set -u
export LC_ALL=C
completion=$(realpath "$1") cli=$(realpath "$2") examples=$(realpath "$3") work=$4
source /usr/share/bash-completion/bash_completion || { echo "FAIL: bash-completion is not installed" >&2; exit 1; }
source "$completion"
PATH=$(dirname "$cli"):$PATH
rm -rf "$work" && mkdir -p "$work/tracks" && cd "$work" || exit 1
cp "$examples/circuit.mrd" "$examples/Monza.csv" .
touch b.trk c.json d.png e.glb f.csv g.gpx notes.txt

fail=0
# complete LINE EXPECTED: the words offered at the end of LINE, sorted, one line.
# The words are split as bash splits them for completion: at blanks outside
# quotes, the quotes kept.
complete_line() {
  local line=$1 expected=$2 word= quote= c i
  COMP_LINE=$line COMP_POINT=${#line} COMP_WORDS=()
  for ((i = 0; i < ${#line}; i++)); do
    c=${line:i:1}
    if [[ -z $quote && $c == " " ]]; then
      COMP_WORDS+=("$word") word=
      continue
    fi
    if [[ -z $quote && ($c == '"' || $c == "'") ]]; then quote=$c; elif [[ $c == "$quote" ]]; then quote=; fi
    word+=$c
  done
  COMP_WORDS+=("$word")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _meridal_cli meridal-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
  got=${got% }
  if [ -n "${offered_among:-}" ]; then
    [[ " $got " == *" $expected "* ]] || { echo "FAIL: '$line' offers [$got], without $expected" >&2; fail=1; }
  else
    [ "$got" = "$expected" ] || { echo "FAIL: '$line' offers [$got], not [$expected]" >&2; fail=1; }
  fi
}

complete_line "meridal-cli c" "centreline check convert copy"
complete_line "meridal-cli --v" "--version"
complete_line "meridal-cli tree " "b.trk c.json circuit.mrd tracks"
complete_line "meridal-cli fit " "Monza.csv c.json f.csv g.gpx tracks"
complete_line "meridal-cli fit Monza.csv " "b.trk c.json circuit.mrd tracks"
complete_line "meridal-cli export circuit.mrd " "b.trk tracks"
complete_line "meridal-cli mesh circuit.mrd " "e.glb tracks"
complete_line "meridal-cli render circuit.mrd out.png --s" "--select --size --slope --smooth"
complete_line "meridal-cli set circuit.mrd section-1 Radius 60 --base " "curv dec deg m"
complete_line "meridal-cli set circuit.mrd section-1 Radius 60 --base m -o " "b.trk c.json circuit.mrd tracks"
complete_line "meridal-cli paste circuit.mrd section-1 --k" "--keep-joined"
complete_line "meridal-cli fix circuit.mrd " "all heights loop positions walls"
complete_line "meridal-cli drag circuit.mrd section-2 " "end heading move radius"
complete_line "meridal-cli lap circuit.mrd --" "--csv --line --vehicle"
complete_line "meridal-cli lap circuit.mrd --line " "centre min-curvature"
# Objects and names, read from the track.
complete_line "meridal-cli get circuit.mrd section-1/w" \
  "section-1/wall-0 section-1/wall-1 section-1/wall-2 section-1/wall-3 section-1/wall-4"
complete_line "meridal-cli props circuit.mrd \"section 9/a" \
  "\"section 9/altitude 0\" \"section 9/altitude 1\" \"section 9/altitude 2\""
complete_line "meridal-cli copy circuit.mrd section-" "$(echo section-{0..9})"
complete_line "meridal-cli render circuit.mrd out.png --select tr" "track"
complete_line "meridal-cli get circuit.mrd section-1 Ra" "Radius"
complete_line "meridal-cli set circuit.mrd \"section 1\" Ori" "Orientation Orientation\\ mismatch"
complete_line "meridal-cli get circuit.mrd track \"Num" "\"Number of Sections\" \"Number of Traces\""
complete_line "meridal-cli get missing.mrd section-1 " ""

# Every command --help lists is offered, and every option its lines name (a
# command's line and the lines indented under it).
help=$(meridal-cli --help)
complete_line "meridal-cli " "--help --version $(sed -n 's/^  \([a-z][a-z-]*\).*/\1/p' <<<"$help" | sort -u | tr '\n' ' ' | sed 's/ $//')"
command=
while IFS= read -r line; do
  if [[ $line =~ ^\ \ ([a-z][a-z-]*) ]]; then command=${BASH_REMATCH[1]}
  elif [[ ! $line =~ ^\ \ \  ]]; then command=; fi
  [ -n "$command" ] || continue
  for option in $(grep -oE -- '(^|[][ |(])--?[a-z][a-z-]*' <<<"$line" | sed 's/^[][ |(]//'); do
    # Among others that it begins (--dem offers --dem-origin too).
    offered_among=1 complete_line "meridal-cli $command circuit.mrd $option" "$option"
  done
done <<<"$help"
exit $fail
