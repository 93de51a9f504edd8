#!/usr/bin/env bash
# Builds the demo programs and runs them: the guided tour on the headless host, then, when Qt 6 is
# installed, the demo window (offscreen without a display, saving a PNG of each step). Only the demos
# and the component libraries they load are built, not the test suite. Extra arguments go to the
# headless tour.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VN_BUILD_DIR:-$root/build}"
jobs="${VN_JOBS:-$(nproc)}"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DVN_BUILD_BENCH=OFF
targets=(vantrel-demo)
if grep -q "vantrel-qt-demo" "$build/build.ninja"; then
    targets+=(vantrel-qt-demo)
fi
# The demos create the controls by name from the library folder: both depend on them.
cmake --build "$build" -j"$jobs" --target "${targets[@]}"
"$build/bin/vantrel-demo" "$@"
if [ -x "$build/bin/vantrel-qt-demo" ]; then
    exec "$build/bin/vantrel-qt-demo"
fi
