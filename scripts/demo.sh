#!/usr/bin/env bash
# Builds the demo program and runs it. Extra arguments go to the demo.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VN_BUILD_DIR:-$root/build}"
jobs="${VN_JOBS:-$(nproc)}"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DVN_BUILD_BENCH=OFF
cmake --build "$build" --target vantrel-demo -j"$jobs"
# The demo registers every component library it finds in the build tree; build them all.
cmake --build "$build" -j"$jobs"
exec "$build/bin/vantrel-demo" "$@"
