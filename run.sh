#!/usr/bin/env bash
# Builds the program and starts it: ./run.sh [file.cav]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here"
./scripts/install-deps.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRAVELUNE_TESTS=OFF >/dev/null
cmake --build build-release -j "$(nproc)" --target gravelune
args=()
for a in "$@"; do
  case "$a" in
    /*) args+=("$a") ;;
    *) args+=("$PWD/$a") ;;
  esac
done
exec "$here/build-release/app/gravelune" "${args[@]}"
