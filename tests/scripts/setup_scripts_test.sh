#!/usr/bin/env bash
# The set-up scripts' decisions, run without network: the 32-bit probe, the
# Wine route choice, apt's steps, and setup.sh itself from end to end, against
# a fake apt-get, dpkg, dpkg-query, sudo and id on PATH, with the host's paths
# under a scratch folder (the host's apt and files are never touched). As
# root, setup.sh runs as a user for whom that folder is read-only (a private
# mount) but through the fake sudo, so that a privileged step taken without
# sudo fails as it would; elsewhere those checks cannot be made, and the test
# ends as skipped (77) after the others. The fakes speak German where their
# locale says so, and a first boot is also set up by a German user, whose
# language sudo keeps: apt's and dpkg's words must be read in the C locale.
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

# A German locale, made here where the host has the locales' sources, so that
# a German user's session speaks German in the shell and the tools too, not
# only in the fakes; elsewhere only the fakes do.
german_locales="$work/locales"
mkdir -p "$german_locales"
localedef -i de_DE -f UTF-8 "$german_locales/de_DE.UTF-8" >/dev/null 2>&1 || german_locales=""
german() { # runs the command in a German user's session
  (
    unset LC_ALL LC_MESSAGES
    export LANG=de_DE.UTF-8 LANGUAGE=de:en
    [ -z "$german_locales" ] || export LOCPATH="$german_locales"
    "$@"
  )
}

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
# What its code does, whatever the host: exit(42) through the i386 system call.
if command -v objdump >/dev/null; then
  code="$(objdump -D -b binary -m i386 --start-address=0x54 "$work/probe" |
    awk -F'\t' 'NF >= 3 { gsub(/ +/, " ", $3); printf "%s;", $3 }')"
  expect "the probe's code is exit(42) through int 0x80 ($code)" \
    [ "$code" = 'xor %eax,%eax;inc %eax;xor %ebx,%ebx;mov $0x2a,%bl;int $0x80;' ]
fi
# Where the kernel starts it, it says 42 and nothing else.
status=0
out="$("$work/probe" 2>&1)" || status=$?
if ! contains "$out" "Exec format error"; then
  expect "the probe exits with 42 where it runs (status $status)" [ "$status" -eq 42 ]
fi
if veldrix_host_runs_32bit; then verdict=yes; else verdict=no; fi
expect "the probe always gives a reason" [ -n "$VELDRIX_HOST_32BIT_REASON" ]
# Where 32-bit Wine is installed, its loader and the probe must agree.
if [ -x /usr/lib/wine/wine ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then loader=yes; else loader=no; fi
  expect "the probe agrees with the i686 Wine loader ($verdict)" [ "$verdict" = "$loader" ]
fi

# The probe's answer for a program that behaves as given (a shell script in
# place of the i386 one); a folder named "noexec" stands for a noexec mount,
# where the kernel refuses to start anything ("Permission denied", even for
# root: the file has no execute bit).
mkdir -p "$work/home" "$work/noexec"
probe_answer() { # the program's body; prints yes or no, and the reason
  (
    export PROBE_BODY="$1"
    veldrix_write_i386_probe() {
      printf '#!/bin/sh\n%s\n' "$PROBE_BODY" >"$1"
      case "$1" in */noexec/*) chmod 644 "$1" ;; *) chmod 755 "$1" ;; esac
    }
    if veldrix_host_runs_32bit; then echo "yes: $VELDRIX_HOST_32BIT_REASON"; else echo "no: $VELDRIX_HOST_32BIT_REASON"; fi
  )
}
out="$(TMPDIR="$work/noexec" HOME="$work/home" probe_answer 'exit 42')"
expect "a noexec folder is passed over, not taken for a no ($out)" contains "$out" "yes: a 32-bit program runs here"
out="$(TMPDIR="$work/missing" HOME="$work/home" probe_answer 'exit 42')"
expect "a missing TMPDIR is passed over" contains "$out" "yes:"
out="$(TMPDIR="$work/home" probe_answer 'exit 43')"
expect "a probe that exits with another status is a no ($out)" contains "$out" "no: this host runs no 32-bit code"
out="$(TMPDIR="$work/home" probe_answer 'echo "cannot execute binary file: Exec format error" >&2; exit 126')"
expect "a kernel that cannot start it is a no, with its words" contains "$out" "Exec format error, status 126"
# The shell's words for a noexec folder are German in a German session.
printf '#!/bin/sh\n' >"$work/noexec/refused"
refusal="$(german bash -c '"$1"' refusal "$work/noexec/refused" 2>&1)"
if contains "$refusal" "Permission denied"; then
  echo "skip a noexec folder in a German session: no German locale here ($refusal)"
else
  out="$(TMPDIR="$work/noexec" HOME="$work/home" german probe_answer 'exit 42')"
  expect "a noexec folder is passed over in a German session too ($out)" contains "$out" \
    "yes: a 32-bit program runs here"
fi

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

# --- apt's steps, against fakes ----------------------------------------------
# The fakes keep their state in $FAKE_APT_STATE: every call in "calls" (apt's
# with the front end it was given), packages in "installed". apt-get "update"
# fails with its lists' lock held by another program while "lists-locked"
# counts down, and then while "update-failures" counts down (reporting one
# list that could not be fetched); it fetches the lists (removes "no-lists").
# "install" fails for any package listed in "broken" (with apt's own wording)
# and for every package while "no-lists" exists, with the package system's
# lock held while "locked" counts down, and with a 404 for the packages in
# "unfetched" while "unfetched-count" counts down. What changes the host
# (update, install, dpkg's architectures, kept in var/lib/dpkg/arch) writes
# under the scratch root $FAKE_ROOT and fails, as apt and dpkg do, where it
# cannot. Installing 32-bit Wine brings its loader there. apt-get speaks the
# language gettext would pick for it (fake-language), German or English, and
# it, dpkg and dpkg-query log that language for each call in "languages".
mkdir -p "$work/bin" "$work/apt"
cat >"$work/bin/fake-language" <<'FAKE'
#!/usr/bin/env bash
# C where the locale of messages (LC_ALL, else LC_MESSAGES, else LANG) is C,
# POSIX or unset, where gettext ignores LANGUAGE; else LANGUAGE's first
# language, or the locale's.
locale="${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}"
case "$locale" in "" | C | POSIX) echo C; exit 0 ;; esac
language="${LANGUAGE:-$locale}"
language="${language%%:*}"
echo "${language%%[_.@]*}"
FAKE
cat >"$work/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
state="$FAKE_APT_STATE"
echo "apt-get $* [frontend=${DEBIAN_FRONTEND:-}]" >>"$state/calls"
language="$(fake-language)"
echo "apt-get $1 $language" >>"$state/languages"
say() { # English, German
  if [ "$language" = de ]; then echo "$2"; else echo "$1"; fi
}
countdown() { # true while the file's count is above 0, counting it down
  local left
  left="$(cat "$state/$1" 2>/dev/null || echo 0)"
  [ "$left" -gt 0 ] && echo $((left - 1)) >"$state/$1"
}
command="" packages=() simulate=0
while [ $# -gt 0 ]; do
  case "$1" in
    -o) shift ;;
    -s) simulate=1 ;;
    -*) ;;
    *) if [ -z "$command" ]; then command="$1"; else packages+=("$1"); fi ;;
  esac
  shift
done
# A run that changes the host needs to write under its root, as root does.
may_write() {
  [ -z "${FAKE_ROOT:-}" ] && return 0
  mkdir -p "$FAKE_ROOT/var/lib/dpkg" 2>/dev/null
  touch "$FAKE_ROOT/var/lib/dpkg/lock-frontend" 2>/dev/null && return 0
  say "E: Could not open lock file /var/lib/dpkg/lock-frontend - open (13: Permission denied)" \
    "E: Sperrdatei /var/lib/dpkg/lock-frontend konnte nicht geöffnet werden. - open (13: Keine Berechtigung)"
  say "E: Unable to acquire the dpkg frontend lock (/var/lib/dpkg/lock-frontend), are you root?" \
    "E: Sperre für dpkg-Frontend (/var/lib/dpkg/lock-frontend) konnte nicht erlangt werden. Sind Sie root?"
  exit 100
}
case "$command" in
  update)
    may_write
    if countdown lists-locked; then
      say "Reading package lists..." "Paketlisten werden gelesen …"
      say "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 777 (apt-get)" \
        "E: Sperre /var/lib/apt/lists/lock konnte nicht erlangt werden. Sie wird von Prozess 777 (apt-get) gehalten."
      say "E: Unable to lock directory /var/lib/apt/lists/" \
        "E: Das Verzeichnis /var/lib/apt/lists/ kann nicht gesperrt werden."
      exit 100
    fi
    if countdown update-failures; then
      say "Err:7 http://deb.debian.org/debian-security bookworm-security/main i386 Packages" \
        "Fehl:7 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
      say "  File has unexpected size (44096 != 43920). Mirror sync in progress? [IP: 151.101.2.132 80]" \
        "  Datei hat eine unerwartete Größe (44096 != 43920). Spiegelsynchronisation im Gange? [IP: 151.101.2.132 80]"
      say "W: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz" \
        "W: Fehlschlag beim Holen von http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz"
      say "E: Some index files failed to download. They have been ignored, or old ones used instead." \
        "E: Einige Indexdateien konnten nicht heruntergeladen werden. Sie wurden ignoriert oder alte an ihrer Stelle benutzt."
      exit 100
    fi
    rm -f "$state/no-lists"
    exit 0 ;;
  install)
    for p in "${packages[@]}"; do
      if [ -e "$state/no-lists" ]; then
        say "E: Unable to locate package $p" "E: Paket $p kann nicht gefunden werden."
        exit 100
      fi
      if grep -qxF "$p" "$state/broken" 2>/dev/null; then
        if [ "$p" = wine32:i386 ]; then
          say "The following packages have unmet dependencies:" "Die folgenden Pakete haben unerfüllte Abhängigkeiten:"
          say " wine32:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed" \
            " wine32:i386 : Hängt ab von: libwine:i386 (= 8.0~repack-4), soll aber nicht installiert werden"
          say "E: Unable to correct problems, you have held broken packages." \
            "E: Probleme können nicht korrigiert werden, Sie haben zurückgehaltene defekte Pakete."
        else
          say "E: Unable to locate package $p" "E: Paket $p kann nicht gefunden werden."
        fi
        exit 100
      fi
    done
    [ "$simulate" -eq 0 ] || exit 0
    may_write
    if countdown locked; then
      say "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (unattended-upgr)" \
        "E: Sperre /var/lib/dpkg/lock-frontend konnte nicht erlangt werden. Sie wird von Prozess 4242 (unattended-upgr) gehalten."
      say "E: Unable to acquire the dpkg frontend lock (/var/lib/dpkg/lock-frontend), is another process using it?" \
        "E: Sperre für dpkg-Frontend (/var/lib/dpkg/lock-frontend) konnte nicht erlangt werden. Wird sie von einem anderen Prozess verwendet?"
      exit 100
    fi
    for p in "${packages[@]}"; do
      if grep -qxF "$p" "$state/unfetched" 2>/dev/null && countdown unfetched-count; then
        say "Err:3 http://deb.debian.org/debian bookworm/main amd64 $p amd64 1.0-1" \
          "Fehl:3 http://deb.debian.org/debian bookworm/main amd64 $p amd64 1.0-1"
        echo "  404  Not Found [IP: 151.101.2.132 80]"
        url="http://deb.debian.org/debian/pool/main/${p:0:1}/$p/${p}_1.0-1_amd64.deb"
        say "E: Failed to fetch $url  404  Not Found [IP: 151.101.2.132 80]" \
          "E: Fehlschlag beim Holen von $url  404  Not Found [IP: 151.101.2.132 80]"
        say "E: Unable to fetch some archives, maybe run apt-get update or try with --fix-missing?" \
          "E: Einige Archive konnten nicht heruntergeladen werden; vielleicht »apt-get update« ausführen oder mit »--fix-missing« probieren?"
        exit 100
      fi
    done
    [ ! -e "${FAKE_ROOT:-/nonexistent}/usr/sbin/policy-rc.d" ] || echo "services held" >>"$state/policy"
    printf '%s\n' "${packages[@]}" >>"$state/installed"
    if printf '%s\n' "${packages[@]}" | grep -qx wine32:i386 && [ -n "${FAKE_ROOT:-}" ]; then
      mkdir -p "$FAKE_ROOT/usr/lib/wine"
      printf '#!/bin/sh\necho wine-8.0\n' >"$FAKE_ROOT/usr/lib/wine/wine"
      chmod 755 "$FAKE_ROOT/usr/lib/wine/wine"
    fi
    exit 0 ;;
esac
echo "fake apt-get: $command is not faked" >&2
exit 2
FAKE
cat >"$work/bin/dpkg" <<'FAKE'
#!/usr/bin/env bash
echo "dpkg $*" >>"$FAKE_APT_STATE/calls"
echo "dpkg $1 $(fake-language)" >>"$FAKE_APT_STATE/languages"
archs="$FAKE_ROOT/var/lib/dpkg/arch"
case "$1" in
  --print-foreign-architectures) cat "$archs" 2>/dev/null ;;
  --add-architecture)
    { mkdir -p "$(dirname "$archs")" && echo "$2" >>"$archs"; } 2>/dev/null && exit 0
    echo "dpkg: error: unable to create new file '/var/lib/dpkg/arch-new': Permission denied" >&2
    exit 2 ;;
  *) echo "fake dpkg: $1 is not faked" >&2; exit 2 ;;
esac
FAKE
cat >"$work/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
# dpkg-query -W -f='${Status}' <package>
echo "dpkg-query $1 $(fake-language)" >>"$FAKE_APT_STATE/languages"
grep -qxF "${*: -1}" "$FAKE_APT_STATE/installed" 2>/dev/null || exit 1
printf 'install ok installed'
FAKE
# sudo resets the environment (its env_reset) but keeps the user's language
# (LANG, LANGUAGE, LC_*), as Debian's does; the fakes' own state goes through,
# and LOCPATH, where the test's German locale stands for an installed one.
# Where setup_run made the scratch root read-only, sudo's command runs where
# it is writable (the folder FAKE_ROOT_RW mounted over it).
cat >"$work/bin/sudo" <<'FAKE'
#!/usr/bin/env bash
echo "sudo $*" >>"$FAKE_APT_STATE/calls"
as_root=(env -i PATH="$PATH" FAKE_APT_STATE="$FAKE_APT_STATE" FAKE_ROOT="$FAKE_ROOT")
for name in LANG LANGUAGE LOCPATH $(compgen -e | grep '^LC_'); do
  [ -z "${!name+set}" ] || as_root+=("$name=${!name}")
done
[ -n "${FAKE_ROOT_RW:-}" ] || exec "${as_root[@]}" "$@"
exec unshare -m bash -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' sudo "$FAKE_ROOT_RW" "$FAKE_ROOT" \
  "${as_root[@]}" "$@"
FAKE
cat >"$work/bin/id" <<'FAKE'
#!/usr/bin/env bash
if [ "${1:-}" = -u ]; then echo "${FAKE_UID:-0}"; else exec /usr/bin/id "$@"; fi
FAKE
chmod 755 "$work/bin/"*

apt_run() { # runs a function of setup-apt.sh with the fake apt; prints its output
  (
    export PATH="$work/bin:$PATH" FAKE_APT_STATE="$work/apt" VELDRIX_APT_PAUSE=0 VELDRIX_APT_LOCK_POLL=0 SUDO=""
    . "$scripts/setup-apt.sh"
    eval "$1"
  ) 2>&1
}
reset_apt() { rm -f "$work/apt/"*; }
calls() { grep "^apt-get.* $1 " "$work/apt/calls" 2>/dev/null | grep -vc " -s " || true; }
installed() { sort -u "$work/apt/installed" 2>/dev/null | tr '\n' ' '; }

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
out="$(apt_run 'needed=(cmake wine64); optional=(wine32:i386); apt_install_packages needed optional "$work/failed"')"
status=$?
expect "32-bit Wine that cannot be installed does not stop the set-up" [ "$status" -eq 0 ]
expect "the needed packages are installed without it" [ "$(installed)" = "cmake wine64 " ]
expect "it says so in one line, with apt's reason" eval '[ "$(wc -l <<<"$out")" -eq 1 ] &&
  contains "$out" "wine32:i386 could not be installed (E: Unable to correct problems, you have held broken packages.; wine32:i386 : Depends"'

reset_apt
printf 'nosuchpkg\nwine32:i386\n' >"$work/apt/broken"
out="$(apt_run 'needed=(cmake nosuchpkg); optional=(wine32:i386); apt_install_packages needed optional "$work/failed"')"
status=$?
expect "a needed package that cannot be installed still stops it" eval '[ "$status" -ne 0 ] &&
  contains "$out" "apt-get cannot install nosuchpkg"'

reset_apt
out="$(apt_run 'needed=(cmake); optional=(wine32:i386); apt_install_packages needed optional "$work/failed"')"
expect "where all can be installed, all are, in one call" eval '[ "$(calls install)" -eq 1 ] &&
  [ "$(installed)" = "cmake wine32:i386 " ]'

# Failures that pass: a package file a syncing mirror answers with 404, the
# package system's lock held on a new machine's first boot.
reset_apt
echo cmake >"$work/apt/unfetched"
echo 1 >"$work/apt/unfetched-count"
out="$(apt_run 'apt_install_or_fail cmake g++')"
status=$?
expect "a download that fails once is tried again after fresh package lists" eval '[ "$status" -eq 0 ] &&
  [ "$(grep -o "^apt-get.* \(update\|install\) " "$work/apt/calls" | grep -o "update\|install" | tr "\n" " ")" = "install update install " ] &&
  [ "$(installed)" = "cmake g++ " ] && contains "$out" "trying once more with fresh package lists"'
reset_apt
echo cmake >"$work/apt/unfetched"
echo 9 >"$work/apt/unfetched-count"
out="$(apt_run 'apt_install_or_fail cmake g++')"
status=$?
expect "a download that keeps failing stops, naming the package with apt's reason" eval '[ "$status" -ne 0 ] &&
  [ "$(calls install)" -eq 2 ] && contains "$out" "apt-get could not download cmake, twice (Err:3" &&
  contains "$out" "404  Not Found"'
reset_apt
echo 1 >"$work/apt/locked"
out="$(apt_run 'apt_install_or_fail cmake')"
status=$?
expect "a lock still held after the wait is waited for once more" eval '[ "$status" -eq 0 ] &&
  [ "$(calls install)" -eq 2 ] && [ "$(installed)" = "cmake " ]'
# apt does not wait for a lock on its own, where nobody would see why it
# stands still: the set-up waits, and says once what for.
expect "the set-up waits for the package system's lock itself, saying so once" eval '[ "$(grep -c \
  "^setup: the package system (dpkg) locked by process 4242 (unattended-upgr); waiting for it (at most" <<<"$out")" \
  -eq 1 ] && ! grep -q "Lock::Timeout" "$work/apt/calls"'
reset_apt
echo 999 >"$work/apt/locked"
out="$(VELDRIX_APT_LOCK_WAIT=1 VELDRIX_APT_LOCK_POLL=0.2 apt_run 'apt_install_or_fail cmake')"
status=$?
expect "a lock that stays held stops, with apt's reason" eval '[ "$status" -ne 0 ] &&
  contains "$out" "apt-get could not install cmake (E: Could not get lock"'

# The package lists' lock, which apt's daily job holds while it updates them
# on a new machine's first boot, is waited for the same way.
reset_apt
echo 3 >"$work/apt/lists-locked"
out="$(apt_run apt_update_coping)"
status=$?
expect "the package lists' lock is waited for, and the lists then fetched" eval '[ "$status" -eq 0 ] &&
  [ "$(calls update)" -eq 4 ] && [ "$(wc -l <<<"$out")" -eq 1 ] && contains "$out" \
  "setup: apt'"'"'s package lists locked by process 777 (apt-get); waiting for it (at most"'
expect "the line says the bound of the whole wait" contains "$out" "600 s in all for apt's locks)"
reset_apt
echo 999 >"$work/apt/lists-locked"
out="$(VELDRIX_APT_LOCK_WAIT=0 apt_run apt_update_coping)"
expect "with no time left the lock is not waited for, nor the update tried again" eval '[ "$(calls update)" -eq 1 ] &&
  contains "$out" "package lists stayed locked through the wait; going on with the package lists it has (E: Could not get lock /var/lib/apt/lists/lock"'
# One bound for all of apt's locks: what the lists' wait used up, the
# package system's does not get again.
reset_apt
echo 999 >"$work/apt/lists-locked"
echo 999 >"$work/apt/locked"
out="$(VELDRIX_APT_LOCK_WAIT=1 VELDRIX_APT_LOCK_POLL=0.2 apt_run 'apt_update_coping; apt_install_or_fail cmake')"
status=$?
expect "the waits for both locks share one bound" eval '[ "$status" -ne 0 ] && [ "$(calls update)" -ge 2 ] &&
  [ "$(calls install)" -eq 2 ] && ! contains "$out" "the package system (dpkg) locked"'

# --- setup.sh from end to end -------------------------------------------------
# A copy of the scripts whose 32-bit probe answers as FAKE_HOST_32BIT says
# (the probe itself is tested above), run with the fakes and the host's paths
# under a scratch root.
cp -r "$scripts" "$work/scripts"
cat >"$work/scripts/host-probe.sh" <<'FAKE'
veldrix_host_runs_32bit() {
  if [ "$FAKE_HOST_32BIT" = yes ]; then
    VELDRIX_HOST_32BIT_REASON="a 32-bit program runs here"
    return 0
  fi
  VELDRIX_HOST_32BIT_REASON="this host runs no 32-bit code (Exec format error)"
  return 1
}
FAKE
root="$work/root"
marker="$root/var/lib/veldrix-setup/optional-install-failed"
fresh_host() { # nothing installed, no i386 architecture
  reset_apt
  rm -rf "$root"
  mkdir -p "$root/usr/sbin" "$root/etc/pam.d" "$root/var/lib/apt/lists"
  echo "bookworm main" >"$root/var/lib/apt/lists/deb.debian.org_dists_bookworm_main_binary-amd64_Packages"
}
# A user's run sees the scratch root read-only, in a mount namespace of its
# own; the fake sudo's commands see it writable (FAKE_ROOT_RW).
mkdir -p "$work/rw-root"
if [ "$(id -u)" -eq 0 ]; then confine=(unshare -m); else confine=(unshare -r -m); fi
"${confine[@]}" true 2>/dev/null && confined=yes || confined=no
setup_run() { # runs setup.sh on a host that runs 32-bit code or not (yes, no) as a user
  # through sudo, or as root with FAKE_UID=0; prints its output
  : >"$work/apt/calls"
  (
    export PATH="$work/bin:$PATH" FAKE_APT_STATE="$work/apt" FAKE_ROOT="$root" VELDRIX_SETUP_ROOT="$root" \
      VELDRIX_APT_PAUSE=0 VELDRIX_APT_LOCK_POLL="${VELDRIX_APT_LOCK_POLL:-0}" FAKE_HOST_32BIT="$1" \
      FAKE_UID="${FAKE_UID:-1000}"
    if [ "$FAKE_UID" -ne 0 ] && [ "$confined" = yes ]; then
      export FAKE_ROOT_RW="$work/rw-root"
      exec "${confine[@]}" bash -c 'mount --bind "$1" "$2" && mount --bind "$1" "$1" &&
        mount -o remount,bind,ro "$1" && exec bash "$3"' confine "$root" "$FAKE_ROOT_RW" "$work/scripts/setup.sh"
    fi
    bash "$work/scripts/setup.sh"
  ) 2>&1
}
route_after() { # the Wine route setup.sh left
  (
    unset VELDRIX_WINE_ARCH VELDRIX_WINE_ROUTE_REASON
    export FAKE_HOST_32BIT="$1"
    . "$work/scripts/wine-env.sh"
    VELDRIX_WINE32_LOADER="$root/usr/lib/wine/wine"
    veldrix_wine_route && echo "$VELDRIX_WINE_ARCH: ${VELDRIX_WINE_ROUTE_REASON:-}"
  ) 2>&1
}
asked_for() { grep "^apt-get.* install " "$work/apt/calls" | grep -q " $1 "; }
apt_calls() { grep -c "^apt-get" "$work/apt/calls" || true; }
ftp_account_set_up() {
  grep -q "^encyuser:" "$root/etc/veldrix-ftp-test.passwd" &&
    grep -q "pwdfile=/etc/veldrix-ftp-test.passwd" "$root/etc/pam.d/veldrix-ftp-test"
}

fresh_host
if [ "$confined" = yes ]; then
  expect "a user cannot write the scratch root without sudo" eval '! "${confine[@]}" bash -c "mount --bind \"$root\" \"$root\" &&
    mount -o remount,bind,ro \"$root\" && touch \"$root/usr/sbin/x\"" 2>/dev/null && [ ! -e "$root/usr/sbin/x" ]'
fi
out="$(setup_run yes)"
status=$?
expect "32-bit host: the set-up passes ($status)" [ "$status" -eq 0 ]
expect "32-bit host: it adds the i386 architecture" grep -qx "dpkg --add-architecture i386" "$work/apt/calls"
expect "32-bit host: dpkg keeps it (through sudo)" grep -qx i386 "$root/var/lib/dpkg/arch"
expect "32-bit host: it asks for 32-bit Wine with the rest" eval 'asked_for wine32:i386 && asked_for cmake'
expect "the reference library's sources are asked for: the dictionaries and the calendar's events" eval \
  'asked_for dict-gcide && asked_for dict-freedict-fra-eng && asked_for calendar'
expect "the gallery's sources and their readers are asked for" eval 'asked_for xplanet-images &&
  asked_for libjpeg62-turbo-dev && asked_for libespeak-ng-dev'
expect "32-bit host: the i686 route follows" [ "$(route_after yes)" = "i686: " ]
expect "apt never asks a question" eval '! grep "^apt-get" "$work/apt/calls" | grep -qv "frontend=noninteractive"'
expect "services are held while packages install, and let go after" eval '[ -s "$work/apt/policy" ] &&
  [ ! -e "$root/usr/sbin/policy-rc.d" ]'
expect "the FTP tests' account is set up" ftp_account_set_up
out="$(setup_run yes)"
status=$?
expect "a second run asks apt for nothing" eval '[ "$(apt_calls)" -eq 0 ] && contains "$out" "all needed packages present"'
expect "a second run passes ($status)" [ "$status" -eq 0 ]
# Files set-up owns are put right when they are wrong, not only made when missing.
echo "encyuser:an old password" >"$root/etc/veldrix-ftp-test.passwd"
echo "auth required pam_deny.so" >"$root/etc/pam.d/veldrix-ftp-test"
out="$(setup_run yes)"
status=$?
expect "a run puts the FTP tests' account right ($status)" eval '[ "$status" -eq 0 ] && ftp_account_set_up &&
  ! grep -q "an old password" "$root/etc/veldrix-ftp-test.passwd"'

# As root, without sudo.
fresh_host
out="$(FAKE_UID=0 setup_run yes)"
status=$?
expect "as root: the set-up passes without sudo ($status)" eval '[ "$status" -eq 0 ] && asked_for cmake &&
  ! grep -q "^sudo " "$work/apt/calls" && [ ! -e "$root/usr/sbin/policy-rc.d" ] && ftp_account_set_up'

# An administrator's own policy-rc.d is theirs: set-up neither replaces it nor removes it.
fresh_host
printf '#!/bin/sh\n# the administrator'"'"'s\nexit 0\n' >"$root/usr/sbin/policy-rc.d"
out="$(setup_run yes)"
status=$?
expect "an administrator's own policy-rc.d is left as it is ($status)" eval '[ "$status" -eq 0 ] && asked_for cmake &&
  grep -q "the administrator" "$root/usr/sbin/policy-rc.d"'

fresh_host
out="$(setup_run no)"
status=$?
expect "host without 32-bit code: the set-up passes ($status)" [ "$status" -eq 0 ]
expect "host without 32-bit code: no i386 architecture and no i386 package" eval '! grep -q i386 "$work/apt/calls"'
expect "host without 32-bit code: it says why, in one line" contains "$out" \
  "this host runs no 32-bit code (Exec format error): no 32-bit Wine; the Wine suites take the x86_64 route"
expect "host without 32-bit code: the x86_64 route" contains "$(route_after no)" "x86_64: this host runs no 32-bit code"

# 32-bit Wine that apt cannot install (its i386 lists lag behind): set-up goes
# on, remembers it, and later runs do not try again each time.
fresh_host
echo wine32:i386 >"$work/apt/broken"
echo 9 >"$work/apt/update-failures"
out="$(setup_run yes)"
status=$?
expect "no installable 32-bit Wine: the set-up goes on ($status)" [ "$status" -eq 0 ]
expect "no installable 32-bit Wine: the rest is installed" eval 'grep -qx cmake "$work/apt/installed" &&
  ! grep -qx wine32:i386 "$work/apt/installed"'
expect "no installable 32-bit Wine: it says so with apt's reason" contains "$out" \
  "wine32:i386 could not be installed (E: Unable to correct problems, you have held broken packages."
expect "no installable 32-bit Wine: the x86_64 route" contains "$(route_after yes)" "x86_64: 32-bit Wine"
expect "the failure is remembered" grep -qx "packages=wine32:i386" "$marker"
out="$(setup_run yes)"
status=$?
expect "a second run does not try it again, and says so" eval '[ "$(apt_calls)" -eq 0 ] &&
  contains "$out" "wine32:i386 could not be installed at" && contains "$out" "VELDRIX_SETUP_RETRY=1 tries now"'
expect "a second run passes while the failure is remembered ($status)" [ "$status" -eq 0 ]
echo "bookworm main i386" >"$root/var/lib/apt/lists/deb.debian.org_dists_bookworm_main_binary-i386_Packages"
setup_run yes >/dev/null
status=$?
expect "once apt's package lists change it is tried again" eval 'asked_for wine32:i386 && [ "$status" -eq 0 ]'
setup_run yes >/dev/null
status=$?
expect "and remembered again" eval '[ "$(apt_calls)" -eq 0 ] && [ "$status" -eq 0 ]'
# The memory holds back only the package that failed.
sed -i '/^cmake$/d' "$work/apt/installed"
out="$(setup_run yes)"
status=$?
expect "a needed package that went missing is installed all the same ($status)" eval '[ "$status" -eq 0 ] &&
  asked_for cmake && ! asked_for wine32:i386 && grep -qx cmake "$work/apt/installed"'
sed -i "s/^time=.*/time=$(($(date +%s) - 86500))/" "$marker"
setup_run yes >/dev/null
status=$?
expect "a day later it is tried again" eval 'asked_for wine32:i386 && [ "$status" -eq 0 ]'
out="$(VELDRIX_SETUP_RETRY=1 setup_run yes)"
status=$?
expect "VELDRIX_SETUP_RETRY=1 tries it at once" eval 'asked_for wine32:i386 && [ "$status" -eq 0 ]'
rm "$work/apt/broken"
VELDRIX_SETUP_RETRY=1 setup_run yes >/dev/null
status=$?
expect "once it installs, the failure is forgotten" eval 'grep -qx wine32:i386 "$work/apt/installed" &&
  [ ! -e "$marker" ] && [ "$(route_after yes)" = "i686: " ] && [ "$status" -eq 0 ]'

# Without root, through sudo, which drops most of the caller's environment.
fresh_host
out="$(FAKE_UID=1000 setup_run yes)"
status=$?
expect "through sudo: the set-up passes ($status)" [ "$status" -eq 0 ]
expect "through sudo: apt runs through it, never asking a question" eval '[ "$(apt_calls)" -gt 0 ] &&
  ! grep "^apt-get" "$work/apt/calls" | grep -qv "frontend=noninteractive" &&
  grep -q "^sudo env -u LANGUAGE LC_ALL=C DEBIAN_FRONTEND=noninteractive apt-get.* install " "$work/apt/calls"'

# Whether apt and dpkg spoke the C locale in every call whose words setup.sh
# reads (all but adding an architecture, whose words go to the user alone).
read_in_c_locale() {
  local log="$work/apt/languages"
  grep -q "^apt-get " "$log" && grep -q "^dpkg --print-foreign-architectures " "$log" &&
    grep -q "^dpkg-query " "$log" && ! grep -v " C$" "$log" | grep -qv "^dpkg --add-architecture "
}
# What a new machine meets, in the user's session and then in a German
# user's ($1 names the session, the rest runs setup_run in it): a package
# file the mirror does not have yet, once; a first boot, with no package
# lists yet, apt's daily job holding their lock while it fetches them and
# unattended-upgrades then the package system's.
new_machine_checks() {
  local session="$1"
  shift
  fresh_host
  echo cmake >"$work/apt/unfetched"
  echo 1 >"$work/apt/unfetched-count"
  out="$("$@" setup_run yes)"
  status=$?
  expect "${session}a download that fails once does not stop the set-up ($status)" eval '[ "$status" -eq 0 ] &&
    grep -qx cmake "$work/apt/installed" && contains "$out" "trying once more with fresh package lists"'
  fresh_host
  touch "$work/apt/no-lists"
  echo 3 >"$work/apt/lists-locked"
  echo 1 >"$work/apt/locked"
  out="$("$@" setup_run yes)"
  status=$?
  expect "${session}first boot: set-up waits for the package lists and the package system, then installs ($status)" \
    eval '[ "$status" -eq 0 ] && grep -qx cmake "$work/apt/installed" &&
    [ "$(grep -c "package lists locked by process 777" <<<"$out")" -eq 1 ] &&
    [ "$(grep -c "package system (dpkg) locked by process 4242" <<<"$out")" -eq 1 ]'
  expect "${session}first boot: apt and dpkg speak the C locale where their words are read" read_in_c_locale
  fresh_host
  touch "$work/apt/no-lists"
  echo 999 >"$work/apt/lists-locked"
  out="$(VELDRIX_APT_LOCK_WAIT=1 VELDRIX_APT_LOCK_POLL=0.2 "$@" setup_run yes)"
  status=$?
  expect "${session}first boot, lists locked throughout: it stops, saying why ($status)" eval '[ "$status" -ne 0 ] &&
    contains "$out" "its package lists could not be fetched, as another program held their lock through the wait" &&
    ! contains "$out" "check /etc/apt/sources.list"'
  expect "${session}first boot, lists locked throughout: apt speaks the C locale when asked why" read_in_c_locale
}
new_machine_checks ""
new_machine_checks "German user: " german

if [ "$failures" -gt 0 ]; then
  echo "$failures set-up script checks failed" >&2
  exit 1
fi
if [ "$confined" = no ]; then
  echo "SKIPPED: no private mount here (${confine[*]} is refused), so setup.sh ran as a user who could write" \
    "everything, and its privileged steps were not checked" >&2
  exit 77
fi
echo "all set-up script checks passed"
