#!/usr/bin/env bash
# The set-up scripts' decisions, run without root or network: the 32-bit
# probe, the Wine route choice, and apt's steps against a fake apt-get on
# PATH (the host's apt is never run).
set -uo pipefail
scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

pass() { echo "ok   $1"; }
fail() {
  echo "FAIL $1"
  failures=$((failures + 1))
}
expect() { # name, then a command that must succeed
  local name="$1"
  shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}
contains() { grep -qF -- "$2" <<<"$1"; }

# --- The 32-bit probe -------------------------------------------------------
. "$scripts/host-probe.sh"
veldrix_write_i386_probe "$work/probe"
expect "the probe is a 93-byte file" [ "$(wc -c <"$work/probe")" -eq 93 ]
if command -v readelf >/dev/null; then
  header="$(readelf -h -l "$work/probe" 2>&1)"
  expect "the probe is an i386 executable" contains "$header" "Intel 80386"
  expect "the probe is a 32-bit ELF" contains "$header" "ELF32"
  expect "the probe starts at its code" contains "$header" "Entry point address:               0x8048054"
  expect "the probe's segment holds the whole file" contains "$header" "0x0005d 0x0005d R E"
fi
if veldrix_host_runs_32bit; then verdict=yes; else verdict=no; fi
expect "the probe always gives a reason" [ -n "$VELDRIX_HOST_32BIT_REASON" ]
# Where 32-bit Wine is installed, its loader and the probe must agree.
if [ -x /usr/lib/wine/wine ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then loader=yes; else loader=no; fi
  expect "the probe agrees with the i686 Wine loader ($verdict)" [ "$verdict" = "$loader" ]
fi
# A folder where programs cannot start is passed over, not taken for a no.
mkdir -p "$work/noexec-tmp" "$work/home"
(
  veldrix_write_i386_probe() { printf '#!/bin/sh\nexit 42\n' >"$1"; chmod 755 "$1"; }
  TMPDIR="$work/missing" HOME="$work/home" veldrix_host_runs_32bit
)
expect "a missing TMPDIR is passed over" [ $? -eq 0 ]

# --- The Wine route ------------------------------------------------------------
route() { # prints the route and its reason, after the given set-up commands
  (
    unset VELDRIX_WINE_ARCH VELDRIX_WINE_ROUTE_REASON
    . "$scripts/wine-env.sh"
    eval "$1"
    veldrix_wine_route && echo "$VELDRIX_WINE_ARCH: ${VELDRIX_WINE_ROUTE_REASON:-}"
  ) 2>&1
}
printf '#!/bin/sh\necho wine-8.0\n' >"$work/wine-ok" && chmod 755 "$work/wine-ok"
printf '#!/bin/sh\necho "wine: cannot execute: Exec format error" >&2\nexit 126\n' >"$work/wine-bad"
chmod 755 "$work/wine-bad"
out="$(route 'veldrix_host_runs_32bit() { VELDRIX_HOST_32BIT_REASON="no ia32"; return 1; }
  VELDRIX_WINE32_LOADER='"$work/wine-ok"'')"
expect "no 32-bit code: the x86_64 route, whatever Wine is installed" contains "$out" "x86_64: no ia32"
out="$(route 'veldrix_host_runs_32bit() { return 0; }; VELDRIX_WINE32_LOADER='"$work/none"'')"
expect "32-bit code but no 32-bit Wine: the x86_64 route, saying so" contains "$out" "x86_64: 32-bit Wine"
out="$(route 'veldrix_host_runs_32bit() { return 0; }; VELDRIX_WINE32_LOADER='"$work/wine-bad"'')"
expect "a 32-bit Wine that does not start: the x86_64 route" contains "$out" "does not start here (Exec format error)"
out="$(route 'veldrix_host_runs_32bit() { return 0; }; VELDRIX_WINE32_LOADER='"$work/wine-ok"'')"
expect "32-bit code and a 32-bit Wine that starts: the i686 route" [ "$out" = "i686: " ]
out="$(route 'VELDRIX_WINE_ARCH=x86_64; veldrix_host_runs_32bit() { return 0; }; VELDRIX_WINE32_LOADER='"$work/wine-ok"'')"
expect "a forced route is kept" [ "$out" = "x86_64: " ]
out="$(route 'VELDRIX_WINE_ARCH=arm')"
expect "a forced route that is neither is refused" contains "$out" "set it to i686 or x86_64"

# --- apt's steps, against a fake apt-get --------------------------------------
# The fake apt-get: "update" fails while $work/apt/update-failures counts
# down (reporting one list that could not be fetched), and "install" fails
# for any package listed in $work/apt/broken (with apt's own wording), else
# records what it installed.
mkdir -p "$work/bin" "$work/apt"
cat >"$work/bin/apt-get" <<'EOF'
#!/usr/bin/env bash
state="$FAKE_APT_STATE"
echo "apt-get $*" >>"$state/calls"
case "$1" in
  update)
    left="$(cat "$state/update-failures" 2>/dev/null || echo 0)"
    if [ "$left" -gt 0 ]; then
      echo $((left - 1)) >"$state/update-failures"
      echo "Err:7 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
      echo "  File has unexpected size (44096 != 43920). Mirror sync in progress? [IP: 151.101.2.132 80]"
      echo "W: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz"
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
      exit 100
    fi
    exit 0 ;;
  install)
    shift
    packages=()
    for a in "$@"; do [ "${a#-}" = "$a" ] && packages+=("$a"); done
    for p in "${packages[@]}"; do
      if grep -qxF "$p" "$state/broken" 2>/dev/null; then
        if [ "$p" = wine32:i386 ]; then
          echo "The following packages have unmet dependencies:"
          echo " wine32:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed"
          echo "E: Unable to correct problems, you have held broken packages."
        else
          echo "E: Unable to locate package $p"
        fi
        exit 100
      fi
    done
    case " $* " in *" -s "*) exit 0 ;; esac
    printf '%s\n' "${packages[@]}" >>"$state/installed"
    exit 0 ;;
esac
echo "fake apt-get: $1 is not faked" >&2
exit 2
EOF
chmod 755 "$work/bin/apt-get"

apt_run() { # runs a function of setup-apt.sh with the fake apt; prints its output
  (
    export PATH="$work/bin:$PATH" FAKE_APT_STATE="$work/apt" VELDRIX_APT_PAUSE=0 SUDO=""
    . "$scripts/setup-apt.sh"
    eval "$1"
  ) 2>&1
}
reset_apt() { rm -f "$work/apt/"*; }
calls() { grep -c "^apt-get $1" "$work/apt/calls" 2>/dev/null || true; }

reset_apt
echo 1 >"$work/apt/update-failures"
out="$(apt_run apt_update_coping)"
expect "a failed update is tried again and then is quiet" eval '[ "$(calls update)" -eq 2 ] && [ -z "$out" ]'
reset_apt
echo 9 >"$work/apt/update-failures"
out="$(apt_run apt_update_coping)"
status=$?
expect "an update that keeps failing does not stop the set-up" [ "$status" -eq 0 ]
expect "it is tried three times" [ "$(calls update)" -eq 3 ]
expect "it says so in one line, with apt's first problem" eval '[ "$(wc -l <<<"$out")" -eq 1 ] &&
  contains "$out" "going on with the package lists it has (Err:7 http://deb.debian.org/debian-security bookworm-security/main i386 Packages; File has unexpected size"'

reset_apt
echo nosuchpkg >"$work/apt/broken"
out="$(apt_run 'apt_install_or_fail cmake nosuchpkg')"
status=$?
expect "a package that cannot be installed stops the set-up" [ "$status" -ne 0 ]
expect "it is named, with apt's reason" contains "$out" "nosuchpkg: E: Unable to locate package nosuchpkg"
expect "the failure names only it" contains "$out" "apt-get cannot install nosuchpkg (apt's"

reset_apt
echo wine32:i386 >"$work/apt/broken"
out="$(apt_run 'needed=(cmake wine64); optional=(wine32:i386); apt_install_packages needed optional')"
status=$?
expect "32-bit Wine that cannot be installed does not stop the set-up" [ "$status" -eq 0 ]
expect "the needed packages are installed without it" [ "$(sort "$work/apt/installed" | tr '\n' ' ')" = "cmake wine64 " ]
expect "it says so in one line, with apt's reason" eval '[ "$(wc -l <<<"$out")" -eq 1 ] &&
  contains "$out" "wine32:i386 could not be installed (E: Unable to correct problems, you have held broken packages.; wine32:i386 : Depends"'

reset_apt
printf 'nosuchpkg\nwine32:i386\n' >"$work/apt/broken"
out="$(apt_run 'needed=(cmake nosuchpkg); optional=(wine32:i386); apt_install_packages needed optional')"
status=$?
expect "a needed package that cannot be installed still stops it" eval '[ "$status" -ne 0 ] &&
  contains "$out" "apt-get cannot install nosuchpkg"'

reset_apt
out="$(apt_run 'needed=(cmake); optional=(wine32:i386); apt_install_packages needed optional')"
expect "where all can be installed, all are, in one call" eval '[ "$(calls install)" -eq 1 ] &&
  [ "$(sort "$work/apt/installed" | tr "\n" " ")" = "cmake wine32:i386 " ]'

if [ "$failures" -gt 0 ]; then
  echo "$failures set-up script checks failed" >&2
  exit 1
fi
echo "all set-up script checks passed"
