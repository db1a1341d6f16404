#!/usr/bin/env bash
# Fuzzes the file readers for SECONDS seconds in all (default 60), shared among
# the harnesses: the project reader on raw bytes and on plaintext sealed by the
# harness, the track file import, the JSON reader, the centreline readers (CSV,
# GPX and GeoJSON), the mesh of whatever the track readers accept, and the
# terrain model's header and window (GDAL).
# Builds the targets with clang in build-fuzz/, makes the seeds with the core,
# keeps the growing corpus in build-fuzz/corpus/ and any crashing input in
# build-fuzz/artifacts/. Exits non-zero when a harness finds something.
#   usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz

scripts/ensure-deps.sh --fuzz
cmake -S fuzz -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" \
  --target fuzz_project_reader fuzz_sealed_project_reader fuzz_track_import fuzz_json_reader \
  fuzz_centreline_reader fuzz_track_mesh fuzz_terrain_reader make_fuzz_seeds

rm -rf "$build/seeds"
"$build/make_fuzz_seeds" "$build/seeds"
mkdir -p "$build/artifacts"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
targets=(project_reader:sealed sealed_project_reader:plain track_import:trk json_reader:json centreline_reader:centreline
         track_mesh:mesh terrain_reader:terrain)
share=$(( seconds / ${#targets[@]} ))
run() {
  local name=$1 seeds=$2 time=$3
  mkdir -p "$build/corpus/$name"
  # Inputs that once failed are replayed first, every run.
  local regressions=fuzz/regressions/$name
  if [ -d "$regressions" ]; then
    echo "== replaying $regressions"
    "$build/fuzz_$name" -runs=0 "$regressions"/*
  fi
  [ "$time" -gt 0 ] || return 0
  echo "== fuzzing $name for ${time}s"
  # Long enough for the largest seeds: a 750-section project, a 290-section text.
  "$build/fuzz_$name" -max_total_time="$time" -max_len=1048576 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" \
    "$build/corpus/$name" "$seeds"
}
left=$seconds
for i in "${!targets[@]}"; do
  name=${targets[$i]%%:*}
  time=$share
  [ "$i" -eq $(( ${#targets[@]} - 1 )) ] && time=$left  # the last takes what the division left
  run "$name" "$build/seeds/${targets[$i]#*:}" "$time"
  left=$(( left - time ))
done
echo "== fuzzing found nothing"
