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
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format googletest libsqlite3-dev libxapian-dev
  # the win32 (i686) and win64 (x86_64) trees
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  # Wine for both routes: the i686 loader (wine32) and the x86_64 one (wine64)
  wine wine32:i386 wine64
  # run.sh: a virtual X server, keys sent to the reader, pictures of its window
  xauth xvfb xdotool imagemagick
  # the updater's runs against a real FTP server
  vsftpd libpam-pwdfile
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
  # Packages install without starting their services (vsftpd's would listen
  # on port 21); the tests start their own servers.
  no_start=""
  if [ ! -e /usr/sbin/policy-rc.d ]; then
    printf '#!/bin/sh\nexit 101\n' | $SUDO tee /usr/sbin/policy-rc.d > /dev/null
    $SUDO chmod 755 /usr/sbin/policy-rc.d
    no_start=1
  fi
  echo "setup: installing ${missing[*]}"
  installed=1
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" || installed=""
  if [ -n "$no_start" ]; then $SUDO rm -f /usr/sbin/policy-rc.d; fi
  [ -n "$installed" ] || fail "apt-get could not install: ${missing[*]} (see its messages above)"
fi

# The updater's tests run whole updates against vsftpd, which logs the update
# server's account in through this PAM service and password file (the
# password is the one the updater sends; see tests/updater/real_ftp_server.sh).
ftp_service=/etc/pam.d/veldrix-ftp-test
ftp_passwords=/etc/veldrix-ftp-test.passwd
ftp_hash='encyuser:$6$veldrixftp$EXf1OJ2w5B777nrfi41ux9g.5NV.GtakU/Fvw/G4YT5NqUnJw8IHF8z1.wsXM9xiW8dfiym9L2dkq2t.XXxFv.'
if [ "$(cat "$ftp_passwords" 2>/dev/null)" != "$ftp_hash" ]; then
  printf '%s\n' "$ftp_hash" | $SUDO tee "$ftp_passwords" > /dev/null
fi
ftp_pam="auth required pam_pwdfile.so pwdfile=$ftp_passwords
account required pam_permit.so"
if [ "$(cat "$ftp_service" 2>/dev/null)" != "$ftp_pam" ]; then
  printf '%s\n' "$ftp_pam" | $SUDO tee "$ftp_service" > /dev/null
fi
echo "setup: all packages present"
