#!/usr/bin/env bash
# Builds the program and its tests (with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test; in CI (or with TSAN=1)
# also the tests of the parallel drawing under ThreadSanitizer, in build-tsan.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
jobs=${JOBS:-$(nproc)}
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
# Paths relative to the checkout, so that another clone reuses the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR=1
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGRAVELUNE_SANITIZE=ON -DGRAVELUNE_TESTS=ON >/dev/null
cmake --build build -j "$jobs"
# The tests, then the fuzz targets on a fixed time budget (always in CI, on
# demand with FUZZ=1 here); a failure of one does not hide the other's result.
tests=0
(
  export QT_QPA_PLATFORM=offscreen
  # The leak checker does not follow the dynamic TLS of loaded modules
  # (intercept_tls_get_addr=0): on this glibc it guesses the blocks' bounds
  # from the heap bytes before them and, when those happen to look like a
  # header, crashes on an invented range.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  cd build
  ctest -j "$jobs" --output-on-failure --timeout 600 "$@"
) || tests=$?
# ThreadSanitizer: only the parallel tests' binary is built.
tsan=
if [ "${CI:-}" = "true" ] || [ -n "${TSAN:-}" ]; then
  tsan=0
  (
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRAVELUNE_TSAN=ON -DGRAVELUNE_TESTS=ON \
      -DGRAVELUNE_GUI=ON >/dev/null
    cmake --build build-tsan -j "$jobs" --target paralleles_tests
    cd build-tsan
    ctest -j "$jobs" --output-on-failure --timeout 600 -R '^Tsan\.'
  ) || tsan=$?
fi
fuzz=
if [ "${CI:-}" = "true" ] || [ -n "${FUZZ:-}" ]; then
  fuzz=0
  ./scripts/fuzz.sh "${FUZZ_SECONDS:-15}" || fuzz=$?
fi
if [ "$tests" -eq 0 ]; then echo "tests: réussis"; else echo "tests: ÉCHEC (ctest, code $tests)"; fi
if [ -n "$tsan" ]; then
  if [ "$tsan" -eq 0 ]; then echo "tsan: réussi"; else echo "tsan: ÉCHEC (code $tsan)"; fi
fi
if [ -n "$fuzz" ]; then
  if [ "$fuzz" -eq 0 ]; then echo "fuzz: réussi"; else echo "fuzz: ÉCHEC (code $fuzz)"; fi
fi
[ "$tests" -eq 0 ] && [ "${tsan:-0}" -eq 0 ] && [ "${fuzz:-0}" -eq 0 ]
