#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
#   scripts/deps.sh --fuzz   also what fuzzing needs (clang and its libFuzzer and sanitizer runtimes)
set -euo pipefail

# pkgconf checks the installed pkg-config files; dpkg-dev and file let CPack compute the Debian packages' dependencies.
packages=(g++ cmake ninja-build libgtest-dev libbenchmark-dev libstb-dev libpng-dev libjpeg-dev libgif-dev libpugixml-dev
          libexpat1-dev libxml2-dev libsqlite3-dev clang-format qt6-base-dev qt6-base-private-dev fonts-dejavu-core
          pkgconf dpkg-dev file pybind11-dev python3-dev python3-pytest)
if [ "${1:-}" = "--fuzz" ]; then
    packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
    elif command -v sudo >/dev/null 2>&1; then
        sudo apt-get update && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
    else
        echo "Missing packages (${missing[*]}) and no root or sudo to install them." >&2
        exit 1
    fi
fi
