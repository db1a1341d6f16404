#!/usr/bin/env bash
# Checks the Debian package that scripts/package.sh made, as CI does: lintian,
# then the package unpacked into a scratch root (dpkg -x), its desktop entry,
# software-centre metadata and manual pages checked by their own tools, and its
# programs run from there: --version, a fit of an example, a mesh, and a picture of
# the editor on a virtual display, started from another folder so that it finds
# its example circuit as an installed editor does. Fails on any warning.
#   usage: scripts/check-package.sh meridal_VERSION_ARCH.deb
set -euo pipefail
deb=$(realpath "$1")
version=$(dpkg-deb -f "$deb" Version)

echo "== $(basename "$deb"): $(du -k "$deb" | cut -f1) KB, $(dpkg-deb -f "$deb" Installed-Size) KB installed"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

echo "== lintian"
# Every tag that is an error or a warning fails.
lintian --fail-on error,warning --display-level ">=warning" --show-overrides "$deb"
echo "lintian: no error, no warning"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
usr=$root/usr

echo "== desktop-file-validate, appstreamcli, man --warnings"
desktop-file-validate "$usr"/share/applications/*.desktop
appstreamcli validate --no-net --explain "$usr"/share/metainfo/*.metainfo.xml
for page in "$usr"/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
  echo "$(basename "$page"): no warning"
done

echo "== the programs, from $usr/bin"
work=$root/work
mkdir -p "$work"
cd "$work"
"$usr/bin/meridal-cli" --version
[ "$("$usr/bin/meridal-cli" --version)" = "meridal-cli $version" ] || { echo "not the package's version" >&2; exit 1; }
"$usr/bin/meridal-cli" fit "$usr/share/meridal/examples/Monza.csv" monza.mrd --tolerance 1.0
"$usr/bin/meridal-cli" check monza.mrd
"$usr/bin/meridal-cli" mesh monza.mrd monza.glb
ls -l monza.glb
# The editor with no file opens the example circuit installed beside it: its
# recent files (in a configuration folder of its own here) then name it.
export XDG_CONFIG_HOME=$root/config XDG_RUNTIME_DIR=$root/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" "$usr/bin/meridal" --screenshot editor.png
file editor.png
grep -F "recentFiles=$usr/share/meridal/examples/circuit.mrd" "$XDG_CONFIG_HOME/Meridal/meridal.conf" ||
  { echo "the editor did not open its example circuit" >&2; exit 1; }
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" "$usr/bin/meridal-3d-picture" \
  "$usr/share/meridal/examples/circuit.mrd" circuit-3d.png --size 640x400
file circuit-3d.png
echo "== the package passes"
