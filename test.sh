#!/usr/bin/env bash
# Builds the program and its tests (with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
jobs=$(nproc)
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGRAVELUNE_SANITIZE=ON -DGRAVELUNE_TESTS=ON >/dev/null
cmake --build build -j "$jobs"
# Fuzz targets on a fixed time budget: always in CI, on demand (FUZZ=1) here.
if [ "${CI:-}" = "true" ] || [ -n "${FUZZ:-}" ]; then
  ./scripts/fuzz.sh "${FUZZ_SECONDS:-15}"
fi
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
cd build
ctest -j "$jobs" --output-on-failure --timeout 600 "$@"
