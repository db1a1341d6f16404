#!/usr/bin/env bash
# The manual pages against the programs: every command `meridal-cli --help` lists
# has a section of its own in meridal-cli(1), every option a program's own help
# names is described in its page, and the programs give the project's version.
#   usage: manual_test.sh MANDIR VERSION MERIDAL-CLI [MERIDAL MERIDAL-3D-PICTURE]
set -u
mandir=$1 version=$2 cli=$3 editor=${4:-} picture=${5:-}
fail=0
problem() { echo "FAIL: $*" >&2; fail=1; }

# described PAGE HELP: every option HELP names is in PAGE in bold, as the pages'
# synopses and lists of options give them (a minus written as - or as roff's \-).
described() {
  local page=$mandir/$1.1 help=$2 option
  [ -f "$page" ] || { problem "no manual page $page"; return; }
  for option in $(grep -oE -- '(^|[][ |(,])--?[a-z][a-z-]*' <<<"$help" | sed 's/^[][ |(,]//' | sort -u); do
    grep -qF -e "\\fB$option\\fR" -e "\\fB${option//-/\\-}\\fR" "$page" ||
      problem "$1(1) does not describe $option"
  done
}

help=$("$cli" --help) || problem "meridal-cli --help exits $?"
commands=$(sed -n 's/^  \([a-z][a-z-]*\)\( .*\)\{0,1\}$/\1/p' <<<"$help" | sort -u)
[ "$(wc -w <<<"$commands")" -ge 20 ] || problem "too few commands read from --help: $commands"
for command in $commands; do
  grep -qx "\.SS $command" "$mandir/meridal-cli.1" || problem "meridal-cli(1) has no section for '$command'"
done
described meridal-cli "$help"
[ "$("$cli" --version)" = "meridal-cli $version" ] || problem "meridal-cli --version: $("$cli" --version)"

if [ -n "$editor" ]; then
  export QT_QPA_PLATFORM=offscreen
  # The editor's options, above its arguments (whose text names none).
  help=$("$editor" --help 2>/dev/null | sed '/^Arguments:/,$d')
  grep -q -- "--version" <<<"$help" || problem "meridal --help: $help"
  described meridal "$help"
  shown=$("$editor" --version 2>/dev/null)
  [ "$shown" = "Meridal $version" ] || problem "meridal --version: $shown"
  # The 3D picture's usage, which it gives when called without its files.
  help=$("$picture" 2>&1 >/dev/null)
  grep -q -- "--size" <<<"$help" || problem "meridal-3d-picture's usage: $help"
  described meridal-3d-picture "$help"
fi
exit $fail
