#!/usr/bin/env bash
# The command line as a user drives it from a shell.
set -u
cli=$1
dir=$2
examples=$3
rm -rf "$dir" && mkdir -p "$dir" && cd "$dir" || exit 1
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cli" new t.mrd || fail "new"
[ "$(stat -c %s t.mrd)" = 424 ] || fail "size of a new project"
cp t.mrd before.mrd

err=$("$cli" set t.mrd "section 0" Radius 3000000 2>&1 >/dev/null); code=$?
[ $code = 1 ] || fail "Radius on a straight should exit 1, got $code"
[ "$err" = "Input not valid ! Range Error!" ] || fail "message: $err"
cmp -s t.mrd before.mrd || fail "a refused set changed the file"

"$cli" set t.mrd "section 0" Length 100 --base m || fail "set Length in metres"
[ "$("$cli" get t.mrd "section 0" Length)" = 1968504 ] || fail "get Length"

"$cli" edit t.mrd "section 0" add-after || fail "add-after"
"$cli" edit t.mrd "section-1" change-type || fail "change-type"
[ "$("$cli" get t.mrd section-1 Curvature)" = 119304647 ] || fail "curvature of a converted section"
"$cli" set t.mrd section-1 Radius -2000000 || fail "negative radius"
[ "$("$cli" get t.mrd section-1 Curvature)" = -119304647 ] || fail "mirrored curvature"

"$cli" export t.mrd t.trk || fail "export"
[ "$(head -c 4 t.trk)" = KART ] || fail "track file tag"
"$cli" props t.mrd "section 1" | grep -q "^Type	2	curved$" || fail "props of a curve"
# The example's text is what the example script makes of its project, and a value
# edited by hand in the text comes back in the project converted from it.
"$cli" convert "$examples/circuit.mrd" circuit.json || fail "convert the example"
cmp -s circuit.json "$examples/circuit.json" || fail "examples/circuit.json is not the text of examples/circuit.mrd"
sed '0,/"length": [0-9]*/s//"length": 1234567/' "$examples/circuit.json" > edited.json
"$cli" convert edited.json edited.mrd || fail "convert the edited text"
[ "$("$cli" get edited.mrd "section 0" Length)" = 1234567 ] || fail "the edited length"
[ "$("$cli" get edited.mrd "section 1" Length)" = "$("$cli" get "$examples/circuit.mrd" "section 1" Length)" ] ||
  fail "a length that was not edited"

# The batch example of the README, run as a user runs it: a stadium built, checked
# and exported, its last change taken back and the project saved.
"$cli" new stadium.mrd || fail "new"
"$cli" batch stadium.mrd < "$examples/batch-circuit.txt" > history.txt || fail "the batch exited $?"
[ "$(tail -n 2 history.txt)" = "* Set Curvature of Section 3
  Set Length of Section 2" ] || fail "the history's end: $(tail -n 2 history.txt)"
[ "$(head -n 1 history.txt)" = "  <opened>" ] || fail "the history's first line"
"$cli" check stadium.mrd || fail "the saved stadium does not close"
[ "$("$cli" get stadium.mrd "section 2" Length)" = 1968504 ] || fail "the undone length was saved"
[ "$("$cli" tree stadium.mrd | grep -c Section)" = 4 ] || fail "four sections"
# The export was made before the trial change: it is the saved project's.
"$cli" export stadium.mrd again.trk || fail "export"
cmp -s again.trk stadium.trk || fail "the batch's export differs from the saved project's"
# The mesh, written by the program as a user starts it (it restarts itself once
# for huge pages), is the same with the user's own library settings.
"$cli" mesh stadium.mrd stadium.glb || fail "mesh"
GLIBC_TUNABLES=glibc.malloc.check=0 "$cli" mesh stadium.mrd own.glb || fail "mesh with the user's settings"
cmp -s stadium.glb own.glb || fail "the mesh differs with the user's settings"
[ "$(head -c 4 stadium.glb)" = glTF ] || fail "the mesh is not a binary glTF"
# Output the disk has no room for is a failure with the system's reason.
err=$("$cli" tree stadium.mrd 2>&1 >/dev/full); code=$?
[ $code = 1 ] || fail "tree on a full disk should exit 1, got $code"
[ "$err" = "write error: No space left on device" ] || fail "tree on a full disk: $err"
echo "cli round trip passed"
