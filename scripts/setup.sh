#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and is not yet there.
# Idempotent and non-interactive; run as root.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  cmake g++ make googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  libwine-dev wine64 wine xvfb xauth x11-utils
  python3-zxing-cpp zxing-cpp-tools zbar-tools python3-pil python3-fontforge ghostscript
  clang libclang-rt-14-dev
  fop default-jre-headless poppler-utils libxml2-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then echo "setup: run as root to install: ${missing[*]}" >&2; exit 1; fi
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
