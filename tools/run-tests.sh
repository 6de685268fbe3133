#!/usr/bin/env bash
# Builds everything and runs every test.
# usage: tools/run-tests.sh [--sanitize]   (--sanitize: AddressSanitizer + UBSan build)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build-asan
  tools/bootstrap.sh "$build_dir" -DVORNED_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  build_dir=build
  tools/bootstrap.sh "$build_dir"
fi
# The emulator the demo cartridge's test runs in (skipped when it cannot be had).
tools/install-jsnes.sh "$build_dir"
cd "$build_dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600
