#!/usr/bin/env bash
# Builds everything, uses the project as a stranger's program would (scripts/consumers.sh: install
# into a staging prefix, build and run the examples against it and through add_subdirectory, make the
# Debian packages), then runs the whole test suite. Exits non-zero if any step fails.
# VN_SANITIZE=1 ./scripts/test.sh   builds with AddressSanitizer/UBSan in build-sanitize instead (the
#                                   consumer steps are left out: their programs would need the
#                                   sanitizers' run-time too).
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
if [ "$sanitize" = OFF ]; then
    VN_JOBS="$jobs" "$root/scripts/consumers.sh" "$build"
fi
cd "$build"
ctest --output-on-failure -j"$jobs"
