#!/usr/bin/env bash
# Installs everything the build, the tests and run.sh need from Debian's
# packages. Idempotent and non-interactive; runs as root (or through sudo) on
# Debian 12.
set -euo pipefail

fail() {
  echo "setup: $1" >&2
  exit 1
}

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || fail "run this as root, or install sudo: packages are installed with apt-get"
  SUDO="sudo"
fi
command -v apt-get >/dev/null && command -v dpkg >/dev/null ||
  fail "apt-get and dpkg are missing: this script sets up Debian 12 (install the packages it lists by hand elsewhere)"
export DEBIAN_FRONTEND=noninteractive

packages=(
  # the native and fuzz trees
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format googletest libsqlite3-dev
  # the win32 (i686) and win64 (x86_64) trees
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  # Wine for both routes: the i686 loader (wine32) and the x86_64 one (wine64)
  wine wine32:i386 wine64
  # run.sh: a virtual X server, keys sent to the reader, pictures of its window
  xauth xvfb xdotool imagemagick
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386 || fail "dpkg could not add the i386 architecture (needed for wine32:i386)"
  need_update=1
fi
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  $SUDO apt-get update -qq || fail "apt-get update failed: check the network and /etc/apt/sources.list"
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" ||
    fail "apt-get could not install: ${missing[*]} (see its messages above)"
fi
echo "setup: all packages present"
