#!/usr/bin/env bash
# Builds the program and starts it: ./run.sh [file.cav]
# Arguments are handed over as they are, from the caller's folder.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install-deps.sh"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRAVELUNE_TESTS=OFF >/dev/null
cmake --build "$here/build-release" -j "$(nproc)" --target gravelune
exec "$here/build-release/bin/gravelune" "$@"
