#!/usr/bin/env bash
# Installs everything the build, the tests and run.sh need from Debian's
# packages. Idempotent and non-interactive; runs as root (or through sudo) on
# Debian 12. 32-bit Wine is installed only where the host runs 32-bit code,
# and the set-up goes on without it where apt cannot install it, remembering
# that for a day (in /var/lib/veldrix-setup) so that later runs stay quick; a
# package list that cannot be fetched is no reason to stop, only a package
# that then cannot be installed is (host-probe.sh, setup-apt.sh, which also
# lists the variables that change its steps). apt and dpkg run in the C
# locale wherever their output is read, so that it reads the same whatever
# the user's language.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/host-probe.sh"
. "$here/setup-apt.sh"
host_root="${VELDRIX_SETUP_ROOT:-}"
optional_failed="$host_root/var/lib/veldrix-setup/optional-install-failed"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || setup_fail "run this as root, or install sudo: packages are installed with apt-get"
  SUDO="sudo"
fi
command -v apt-get >/dev/null && command -v dpkg >/dev/null ||
  setup_fail "apt-get and dpkg are missing: this script sets up Debian 12 (install the packages it lists by hand elsewhere)"
export DEBIAN_FRONTEND=noninteractive

packages=(
  # the native and fuzz trees
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format googletest libsqlite3-dev libxapian-dev
  # the win32 (i686) and win64 (x86_64) trees
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  # Wine's x86_64 loader, which every host can run (the x86_64 route)
  wine wine64
  # run.sh: a virtual X server, keys sent to the reader, pictures of its window
  xauth xvfb xdotool imagemagick
  # the updater's runs against a real FTP server
  vsftpd libpam-pwdfile
  # The reference library's sources (veldbuild library) and its gzip reader.
  zlib1g-dev libz-mingw-w64-dev dict-foldoc dict-gcide dict-wn dict-freedict-eng-fra dict-freedict-fra-eng
  # the library's timeline: the calendar package's dated events
  calendar
  # The library's gallery: the Earth's and the Sun's maps, the JPEG reader and
  # the speech engine of its narration (the native builder's alone).
  xplanet-images libjpeg62-turbo-dev libespeak-ng-dev
)
# Wine's i686 loader (the i686 route) only where 32-bit code runs: elsewhere
# it could never start, and the i386 architecture it needs is not added.
optional_packages=()
if veldrix_host_runs_32bit; then
  if ! env -u LANGUAGE LC_ALL=C dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 || setup_fail "dpkg could not add the i386 architecture (needed for wine32:i386)"
    need_update=1
  fi
  optional_packages=(wine32:i386)
else
  setup_say "$VELDRIX_HOST_32BIT_REASON: no 32-bit Wine; the Wine suites take the x86_64 route"
fi

is_installed() {
  env -u LANGUAGE LC_ALL=C dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
missing=() missing_optional=()
for p in "${packages[@]}"; do is_installed "$p" || missing+=("$p"); done
for p in "${optional_packages[@]}"; do
  is_installed "$p" || optional_failure_holds "$optional_failed" "$p" || missing_optional+=("$p")
done
if [ $((${#missing[@]} + ${#missing_optional[@]})) -gt 0 ] || [ -n "${need_update:-}" ]; then
  apt_update_coping
fi
if [ $((${#missing[@]} + ${#missing_optional[@]})) -gt 0 ]; then
  # Packages install without starting their services (vsftpd's would listen
  # on port 21); the tests start their own servers.
  policy="$host_root/usr/sbin/policy-rc.d"
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
    $SUDO chmod 755 "$policy"
    trap '$SUDO rm -f "$policy"' EXIT
  fi
  setup_say "installing $(echo "${missing[@]}" "${missing_optional[@]}") (a few minutes on a fresh machine)"
  apt_install_packages missing missing_optional "$optional_failed"
fi
# An optional package that is in now, installed here or by hand, has no failure to remember.
for p in "${optional_packages[@]}"; do
  if [ -e "$optional_failed" ] && is_installed "$p"; then $SUDO rm -f "$optional_failed"; fi
done

# The updater's tests run whole updates against vsftpd, which logs the update
# server's account in through this PAM service and password file (the
# password is the one the updater sends; see tests/updater/real_ftp_server.sh).
ftp_service="$host_root/etc/pam.d/veldrix-ftp-test"
ftp_passwords=/etc/veldrix-ftp-test.passwd
ftp_hash='encyuser:$6$veldrixftp$EXf1OJ2w5B777nrfi41ux9g.5NV.GtakU/Fvw/G4YT5NqUnJw8IHF8z1.wsXM9xiW8dfiym9L2dkq2t.XXxFv.'
if [ "$(cat "$host_root$ftp_passwords" 2>/dev/null)" != "$ftp_hash" ]; then
  printf '%s\n' "$ftp_hash" | $SUDO tee "$host_root$ftp_passwords" > /dev/null
fi
ftp_pam="auth required pam_pwdfile.so pwdfile=$ftp_passwords
account required pam_permit.so"
if [ "$(cat "$ftp_service" 2>/dev/null)" != "$ftp_pam" ]; then
  printf '%s\n' "$ftp_pam" | $SUDO tee "$ftp_service" > /dev/null
fi
echo "setup: all needed packages present"
