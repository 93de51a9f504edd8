#!/usr/bin/env bash
# Builds everything and runs the whole test suite; exits non-zero if any test fails.
# VN_SANITIZE=1 ./scripts/test.sh   builds with AddressSanitizer/UBSan in build-sanitize instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="${VN_JOBS:-$(nproc)}"
sanitize=OFF
build="${VN_BUILD_DIR:-$root/build}"
if [ "${VN_SANITIZE:-0}" != "0" ] && [ "${VN_SANITIZE:-}" != "OFF" ]; then
    sanitize=ON
    build="${VN_BUILD_DIR:-$root/build-sanitize}"
fi

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DVN_SANITIZE="$sanitize" -DVN_BUILD_BENCH="${VN_BUILD_BENCH:-ON}"
cmake --build "$build" -j"$jobs"
cd "$build"
ctest --output-on-failure -j"$jobs"
