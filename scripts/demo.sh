#!/usr/bin/env bash
# Builds the demo programs and runs them: the guided tour on the headless host, then, when Qt 6 is
# installed, the demo window (offscreen without a display, saving a PNG of each step). Extra
# arguments go to the headless tour.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VN_BUILD_DIR:-$root/build}"
jobs="${VN_JOBS:-$(nproc)}"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DVN_BUILD_BENCH=OFF
# The demos load every component library of the build tree; build them all.
cmake --build "$build" -j"$jobs"
"$build/bin/vantrel-demo" "$@"
if [ -x "$build/bin/vantrel-qt-demo" ]; then
    exec "$build/bin/vantrel-qt-demo"
fi
