#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a fixed time:
# scripts/fuzz.sh [seconds per target]   (default 15)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-${FUZZ_SECONDS:-15}}"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGRAVELUNE_FUZZ=ON -DGRAVELUNE_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" >/dev/null
status=0
for t in build-fuzz/fuzz/*_fuzz; do
  [ -x "$t" ] || continue
  name=$(basename "$t" _fuzz)
  corpus=$(mktemp -d)
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
  if "$t" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 \
      -close_fd_mask=3 >"build-fuzz/$name.log" 2>&1; then
    echo "fuzz $name: ${seconds}s sans défaut"
  else
    echo "fuzz $name: DÉFAUT (build-fuzz/$name.log)"
    tail -40 "build-fuzz/$name.log"
    status=1
  fi
  rm -rf "$corpus"
done
exit $status
