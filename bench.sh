#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: ./bench.sh [benchmark filter]
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRAVELUNE_TESTS=OFF -DGRAVELUNE_BENCH=ON >/dev/null
cmake --build build-release -j "$(nproc)"
filter="${1:-.}"
for b in build-release/bench/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_filter="$filter"
done
