#!/usr/bin/env bash
# The manual pages against the programs: every command `meridal-cli --help` lists
# has a section of its own in meridal-cli(1), every option it names is described
# there, and both programs give the project's version.
#   usage: manual_test.sh MERIDAL-CLI MERIDAL-CLI.1 VERSION [MERIDAL]
set -u
cli=$1 page=$2 version=$3 editor=${4:-}
fail=0
problem() { echo "FAIL: $*" >&2; fail=1; }

help=$("$cli" --help) || problem "meridal-cli --help exits $?"
commands=$(sed -n 's/^  \([a-z][a-z-]*\)\( .*\)\{0,1\}$/\1/p' <<<"$help" | sort -u)
[ "$(wc -w <<<"$commands")" -ge 20 ] || problem "too few commands read from --help: $commands"
for command in $commands; do
  grep -qx "\.SS $command" "$page" || problem "meridal-cli(1) has no section for '$command'"
done
# In bold, as the page's synopses and its list of options give them (a minus
# written as - or as roff's \-).
for option in $(grep -oE -- '(^|[][ |(])--?[a-z][a-z-]*' <<<"$help" | sed 's/^[][ |(]//' | sort -u); do
  grep -qF -e "\\fB$option\\fR" -e "\\fB${option//-/\\-}\\fR" "$page" ||
    problem "meridal-cli(1) does not describe $option"
done

[ "$("$cli" --version)" = "meridal-cli $version" ] || problem "meridal-cli --version: $("$cli" --version)"
if [ -n "$editor" ]; then
  shown=$(QT_QPA_PLATFORM=offscreen "$editor" --version 2>/dev/null)
  [ "$shown" = "Meridal $version" ] || problem "meridal --version: $shown"
fi
exit $fail
