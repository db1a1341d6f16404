#!/usr/bin/env bash
# Builds everything and runs the whole suite twice: the Release build (the one
# scripts/package.sh packages), then one with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh --gui
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
}

echo "== Release build"
run_suite build -DCMAKE_BUILD_TYPE=Release -DMERIDAL_BUILD_GUI=ON -DMERIDAL_BUILD_TESTS=ON
echo "== sanitizer build (address, undefined)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DMERIDAL_SANITIZE=ON -DMERIDAL_BUILD_GUI=ON
echo "== all tests passed in both builds"
