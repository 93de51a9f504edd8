#!/usr/bin/env bash
# Runs one fuzz target under libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer.
#   scripts/fuzz.sh <target> <seconds> [libFuzzer options...]     e.g. scripts/fuzz.sh picture 600
# Targets are the files fuzz/<target>_fuzz.cpp. The whole project is configured with clang in
# build-fuzz/ (CC=clang CXX=clang++ cmake -DVN_FUZZ=ON ...), since every library is instrumented.
# The run starts from fuzz/corpus/<target>/ and fuzz/regressions/<target>/ and writes the new inputs it
# finds to build-fuzz/corpus/<target>/ (scratch, not the repository). An input that makes the target
# fail is saved in build-fuzz/findings/<target>/; once the fault is mended, copy it into
# fuzz/regressions/<target>/ so that the tests replay it from then on.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 2 ]; then
    echo "usage: $0 <target> <seconds> [libFuzzer options...]; targets:" >&2
    for f in "$root"/fuzz/*_fuzz.cpp; do basename "$f" _fuzz.cpp >&2; done
    exit 2
fi
target="$1"
seconds="$2"
shift 2
if [ ! -f "$root/fuzz/${target}_fuzz.cpp" ]; then
    echo "no fuzz target '$target' (fuzz/${target}_fuzz.cpp)" >&2
    exit 2
fi
build="${VN_FUZZ_BUILD_DIR:-$root/build-fuzz}"
jobs="${VN_JOBS:-2}"

"$root/scripts/deps.sh" --fuzz

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DVN_FUZZ=ON -DVN_BUILD_TESTS=OFF -DVN_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$jobs" --target "${target}_fuzz"

scratch="$build/corpus/$target"
findings="$build/findings/$target"
mkdir -p "$scratch" "$findings" "$root/fuzz/regressions/$target"
cd "$build"
# Inputs are libFuzzer's first folder (where it adds what it finds), then the checked-in ones.
exec "$build/bin/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$findings/" "$@" "$scratch" "$root/fuzz/corpus/$target" "$root/fuzz/regressions/$target"
