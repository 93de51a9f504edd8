#!/usr/bin/env bash
# Uses the project as a stranger's program would, after it is built in BUILD (default build/):
#  1. installs it into a staging prefix;
#  2. builds both examples against the installed files only (find_package), and the headless one once
#     more through pkg-config, and compiles every installed header on its own;
#  3. runs them with an empty user registry, so the controls come from the registry the package ships
#     (the Qt one offscreen, saving a screenshot that must not be empty);
#  4. makes the Debian packages and checks what they hold;
#  5. builds the headless example again in a parent project that takes the sources in with
#     add_subdirectory, registers that build's controls with its vantrel-regsvr, and runs it.
# Exits non-zero at the first step that fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
jobs="${VN_JOBS:-$(nproc)}"
work="$build/consumers"
stage="$work/stage"
rm -rf "$work"
mkdir -p "$work"

step() { printf '\n== %s\n' "$*"; }

step "install into $stage"
cmake --install "$build" --prefix "$stage" >"$work/install.log"
registry="$(find "$stage" -path '*/vantrel/registry')"
cat "$registry"

# An empty user registry: what the examples create by name must come from the package's registry.
export AX_REGISTRY="$work/empty-user-registry"

# The compile commands of a consumer must not reach into the source tree for headers.
no_source_includes() {
    if grep -E -- "-I(system )?$root(/(grid|platform|spin))?( |/ |$)" "$1/compile_commands.json"; then
        echo "$1 compiles against the source tree" >&2
        exit 1
    fi
}

step "headless example, find_package against the installed files"
cmake -S "$root/examples/headless" -B "$work/headless" -G Ninja -DCMAKE_PREFIX_PATH="$stage" \
      -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >"$work/headless-configure.log"
cmake --build "$work/headless" -j"$jobs"
no_source_includes "$work/headless"
"$work/headless/headless_example"

step "headless example through pkg-config"
pcdir="$(dirname "$(find "$stage" -name vantrel.pc)")"
export PKG_CONFIG_PATH="$pcdir"
libdir="$(pkg-config --variable=libdir vantrel)"
# shellcheck disable=SC2046
g++ -std=c++20 "$root/examples/headless/main.cpp" -o "$work/headless-pkgconfig" \
    $(pkg-config --cflags --libs vantrel) -Wl,-rpath,"$libdir"
"$work/headless-pkgconfig" >/dev/null

step "every installed header compiles on its own"
headers="$stage/include/vantrel"
with_qt=0
[ -d "$headers/platform/qt" ] && with_qt=1
: >"$work/all_headers.cpp"
(cd "$headers" && find . -name '*.h' | sort) | while read -r h; do
    case "$h" in ./platform/qt/*) continue ;; esac
    printf '#include "%s"\n' "${h#./}" >>"$work/all_headers.cpp"
done
g++ -std=c++20 -fsyntax-only -Wall -Wextra -I"$headers" "$work/all_headers.cpp"
wc -l <"$work/all_headers.cpp" | xargs printf '%s headers\n'

if [ "$with_qt" = 1 ]; then
    step "Qt example, find_package(Vantrel COMPONENTS qt), offscreen with a screenshot"
    cmake -S "$root/examples/qt" -B "$work/qt" -G Ninja -DCMAKE_PREFIX_PATH="$stage" \
          -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >"$work/qt-configure.log"
    cmake --build "$work/qt" -j"$jobs"
    no_source_includes "$work/qt"
    QT_QPA_PLATFORM=offscreen "$work/qt/qt_example" --screenshot "$work/qt-example.png"
    test -s "$work/qt-example.png"

    step "Qt example through pkg-config"
    # shellcheck disable=SC2046
    g++ -std=c++20 -fPIC "$root/examples/qt/main.cpp" -o "$work/qt-pkgconfig" \
        $(pkg-config --cflags --libs vantrel-qt) -Wl,-rpath,"$libdir"
    QT_QPA_PLATFORM=offscreen "$work/qt-pkgconfig" --screenshot "$work/qt-pkgconfig.png" >/dev/null
    test -s "$work/qt-pkgconfig.png"
fi

step "Debian packages"
cpack --config "$build/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log"
for deb in "$work"/packages/*.deb; do
    dpkg-deb -f "$deb" Package Version Depends
done
# The runtime package carries the registry that makes the controls creatable without any step.
# (The listings are kept whole: grep -q closing the pipe early would kill dpkg-deb's tar.)
dpkg-deb -c "$work"/packages/vantrel_*.deb >"$work/packages/runtime.list"
dpkg-deb -c "$work"/packages/vantrel-dev_*.deb >"$work/packages/dev.list"
grep -q '/vantrel/registry$' "$work/packages/runtime.list"
grep -q 'VantrelConfig.cmake$' "$work/packages/dev.list"

step "headless example in a parent project through add_subdirectory"
cmake -S "$root/examples/subdirectory" -B "$work/subdirectory" -G Ninja \
      ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} \
      >"$work/subdirectory-configure.log"
cmake --build "$work/subdirectory" -j"$jobs"
# A build tree is not registered by itself: its libraries are registered once, as a developer does.
export AX_REGISTRY="$work/subdirectory-registry"
"$work/subdirectory/vantrel/bin/vantrel-regsvr" "$work"/subdirectory/vantrel/lib/libvantrel.so \
    "$work"/subdirectory/vantrel/lib/libzel.so
"$work/subdirectory/vantrel/bin/vantrel-regsvr" /l
"$work/subdirectory/headless/headless_example"

echo
echo "consumers: every step passed"
