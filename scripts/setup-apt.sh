# Sourced by setup.sh (and its test): apt's steps, each one coping with what a
# mirror or a host may do, and failing only with the packages that cannot be
# installed named, apt's own message kept. Runs apt-get through $SUDO, never
# asking a question (sudo drops most of the caller's environment, so the
# front end is set on apt's own command line), and in the C locale: apt's
# words (its locks, its failures) are read here, and sudo keeps the caller's
# language (LANG, LANGUAGE, LC_*), so LC_ALL=C, which outweighs LANG and
# LC_*, is set there too, and LANGUAGE dropped.
#   VELDRIX_APT_TRIES      times apt-get update is tried (default 3)
#   VELDRIX_APT_PAUSE      seconds between the tries (default 10)
#   VELDRIX_APT_LOCK_WAIT  seconds the whole set-up waits, at most, for apt's
#                          locks (its package lists, the package system),
#                          which apt's daily job or unattended-upgrades may
#                          hold on a new machine's first boot (default 600)
#   VELDRIX_APT_LOCK_POLL  seconds between two looks at a held lock (default 5)
#   VELDRIX_SETUP_ROOT     folder that stands for / in the host's paths this
#                          reads and writes (its tests use a scratch one)

setup_say() { echo "setup: $*"; }
setup_fail() {
  echo "setup: $*" >&2
  exit 1
}

apt_get() {
  $SUDO env -u LANGUAGE LC_ALL=C DEBIAN_FRONTEND=noninteractive apt-get "$@"
}

# The lock apt's output in the file $1 says another program holds, or nothing.
apt_held_lock() {
  sed -n 's/^E: Could not get lock \([^ ]*[^ .]\)\.\{0,1\}\( .*\)\{0,1\}$/\1/p' "$1" | head -n 1
}

# What a lock guards, for the one line that says what is waited for.
apt_lock_name() {
  case "$1" in
    */lists/lock) echo "apt's package lists" ;;
    */dpkg/lock*) echo "the package system (dpkg)" ;;
    */archives/lock) echo "apt's package cache" ;;
    *) echo "$1" ;;
  esac
}

# apt-get, its output in the file $1. apt does not wait for a lock that
# another program holds (its package lists while apt's daily job updates
# them, the package system while unattended-upgrades installs): it fails at
# once, and is run again every VELDRIX_APT_LOCK_POLL seconds until the lock
# is free, each lock said once, in one line. All the waits of one set-up
# share one bound, VELDRIX_APT_LOCK_WAIT; past it the failure stands.
apt_get_waiting() {
  local log="$1" lock holder said=""
  shift
  : "${apt_lock_deadline:=$(($(date +%s) + ${VELDRIX_APT_LOCK_WAIT:-600}))}"
  until apt_get "$@" >"$log" 2>&1; do
    lock="$(apt_held_lock "$log")"
    [ -n "$lock" ] && [ "$(date +%s)" -lt "$apt_lock_deadline" ] || return 1
    if [ "$lock" != "$said" ]; then
      holder="$(sed -n 's/^E: Could not get lock .* It is held by \(.*\)$/\1/p' "$log" | head -n 1)"
      setup_say "$(apt_lock_name "$lock") locked by ${holder:-another program}; waiting for it (at most" \
        "$((apt_lock_deadline - $(date +%s))) s more, ${VELDRIX_APT_LOCK_WAIT:-600} s in all for apt's locks)"
      said="$lock"
    fi
    sleep "${VELDRIX_APT_LOCK_POLL:-5}"
  done
}

# The lines of apt's output that say what went wrong (E: and W:, and the
# indented detail below a broken package), without its progress noise.
apt_problems() {
  grep -E '^(E|W|Err):|^ +[^ ]' "$1" | grep -v '^W: Target ' | head -n "${2:-12}"
}

# apt's first complaint in one line: the first failed fetch or error, with
# the detail of the fetch (the indented line below it) or the first broken
# dependency (listed above apt's "E:" line).
apt_summary() {
  awk 'after_err && /^ +[^ ]/ { sub(/^ +/, ""); detail = $0 }
       { after_err = 0 }
       /^(Err|E):/ && first == "" { first = $0; after_err = /^Err:/ }
       /^ [^ ].* : ((Pre)?Depends|Breaks|Conflicts):/ && broken == "" { sub(/^ +/, ""); broken = $0 }
       END {
         if (detail == "") detail = broken
         print first (detail != "" ? "; " detail : "")
       }' "$1"
}

# apt-get update, tried a few times. A mirror in the middle of a sync, or one
# list that cannot be fetched, makes it exit non-zero while it has fetched
# every other list: that is no reason to stop, so after the last try the
# set-up goes on with what it fetched, saying so in one line. Whether that is
# enough is told by the install that follows.
apt_update_coping() {
  local tries="${VELDRIX_APT_TRIES:-3}" pause="${VELDRIX_APT_PAUSE:-10}" try log
  log="$(mktemp)"
  apt_lists_locked=""
  for try in $(seq "$tries"); do
    if apt_get_waiting "$log" update -q; then
      rm -f "$log"
      return 0
    fi
    if [ -n "$(apt_held_lock "$log")" ]; then
      # Still locked when the wait ran out: another try would find the same.
      apt_lists_locked="$(apt_summary "$log")"
      setup_say "apt's package lists stayed locked through the wait; going on with the package lists it has" \
        "($apt_lists_locked)"
      rm -f "$log"
      return 0
    fi
    [ "$try" -eq "$tries" ] || sleep "$pause"
  done
  setup_say "apt-get update failed $tries times; going on with the package lists it has ($(apt_summary "$log"))"
  rm -f "$log"
}

# A failure that passes: a package file that could not be fetched (a mirror
# in the middle of a sync answers 404) or the package system's lock still
# held after the wait.
apt_failure_passes() {
  grep -qE '^E: (Failed to fetch|Unable to fetch some archives|Could not get lock|Unable to acquire the dpkg frontend lock|Unable to lock)' "$1"
}

# The packages whose files could not be fetched ("Err:N <uri> <suite> <arch>
# <package> <arch> <version>"; a package list's line has fewer fields).
apt_unfetched() {
  awk '/^Err:/ && NF >= 7 { print $5 }' "$1" | sort -u | tr '\n' ' ' | sed 's/ $//'
}

# Installs the packages, its output in the file $1; a failure that passes is
# tried once more, after fresh package lists.
apt_install_retrying() {
  local log="$1"
  shift
  apt_get_waiting "$log" install -y -q --no-install-recommends "$@" && return 0
  apt_failure_passes "$log" || return 1
  setup_say "apt-get install failed ($(apt_summary "$log")); trying once more with fresh package lists"
  apt_update_coping
  apt_get_waiting "$log" install -y -q --no-install-recommends "$@"
}

# Installs the named packages. On failure it finds which of them apt cannot
# install (each tried alone in a simulated install, or named in a failed
# download) and fails naming those, or all of them when none is named, with
# apt's messages.
apt_install_or_fail() {
  local log out p unavailable=() unfetched
  log="$(mktemp)"
  if apt_install_retrying "$log" "$@"; then
    rm -f "$log"
    return 0
  fi
  for p in "$@"; do
    if ! out="$(env -u LANGUAGE LC_ALL=C apt-get install -s -q --no-install-recommends "$p" 2>&1)"; then
      unavailable+=("$p")
      echo "$out" | grep -E '^E:|^ [^ ]' | sed "s/^/setup:   $p: /" >&2 || true
    fi
  done
  if [ ${#unavailable[@]} -gt 0 ]; then
    rm -f "$log"
    [ -z "${apt_lists_locked:-}" ] || setup_fail "apt-get cannot install ${unavailable[*]} (apt's reasons" \
      "above): its package lists could not be fetched, as another program held their lock through the wait" \
      "($apt_lists_locked); run setup.sh again once it has finished"
    setup_fail "apt-get cannot install ${unavailable[*]} (apt's reasons above); check /etc/apt/sources.list" \
      "and the network, then run setup.sh again"
  fi
  apt_problems "$log" 20 | sed 's/^/setup:   /' >&2 || true
  unfetched="$(apt_unfetched "$log")"
  out="$(apt_summary "$log")"
  rm -f "$log"
  [ -z "$unfetched" ] || setup_fail "apt-get could not download $unfetched, twice ($out); the mirror may be" \
    "in the middle of a sync: run setup.sh again later"
  setup_fail "apt-get could not install ${*} ($out); run setup.sh again, or install them by hand to see why"
}

# apt's package lists as they stand: a change tells that they were fetched again.
apt_lists_stamp() {
  find "${VELDRIX_SETUP_ROOT:-}/var/lib/apt/lists" -maxdepth 1 -type f ! -name lock -printf '%f %s %T@\n' \
    2>/dev/null | LC_ALL=C sort | md5sum | cut -d' ' -f1
}

# An optional install that failed is remembered in the file $1 (the packages,
# when, apt's reason, and the package lists then), so that each later run does
# not spend its time failing again: it is tried again once a day has passed or
# apt's package lists have changed, or at once with VELDRIX_SETUP_RETRY=1.
optional_failure_remember() { # file, packages, reason
  local tmp
  tmp="$(mktemp)"
  printf 'packages=%s\ntime=%s\nlists=%s\nreason=%s\n' "$2" "$(date +%s)" "$(apt_lists_stamp)" "$3" >"$tmp"
  chmod 644 "$tmp"
  # Written beside and then moved into place: a crash leaves no half file.
  if ! { $SUDO mkdir -p "$(dirname "$1")" && $SUDO cp "$tmp" "$1.new" && $SUDO mv -f "$1.new" "$1"; }; then
    setup_say "could not write $1, so the next run tries $2 again"
  fi
  rm -f "$tmp"
}

# True, saying so in one line, while the optional packages' failure recorded
# in $1 holds: less than a day old, and apt's package lists unchanged since.
optional_failure_holds() { # file, packages
  [ "${VELDRIX_SETUP_RETRY:-}" != 1 ] && [ -f "$1" ] || return 1
  local packages time lists reason now
  packages="$(sed -n 's/^packages=//p' "$1")"
  time="$(sed -n 's/^time=//p' "$1")"
  lists="$(sed -n 's/^lists=//p' "$1")"
  reason="$(sed -n 's/^reason=//p' "$1")"
  now="$(date +%s)"
  [ "$packages" = "$2" ] && [[ "$time" =~ ^[0-9]+$ ]] && [ "$time" -le "$now" ] &&
    [ $((now - time)) -lt 86400 ] && [ "$lists" = "$(apt_lists_stamp)" ] || return 1
  setup_say "$2 could not be installed at $(date -d "@$time" '+%F %R') ($reason); it is tried again a day" \
    "later or once apt's package lists change (VELDRIX_SETUP_RETRY=1 tries now): the Wine suites take the" \
    "x86_64 route"
}

# Installs the project's packages and the optional ones (the 32-bit Wine of
# the i686 route). When the set cannot be installed, the needed ones are
# installed alone (failing as above when they cannot be), then the optional
# ones are tried alone, and when they still fail they are left out with a
# line saying why, and the failure is remembered in the file $3.
apt_install_packages() {
  local -n apt_needed="$1" apt_optional="$2"
  local log reason
  log="$(mktemp)"
  if apt_install_retrying "$log" "${apt_needed[@]}" "${apt_optional[@]}"; then
    rm -f "$log"
    return 0
  fi
  if [ ${#apt_optional[@]} -eq 0 ]; then
    rm -f "$log"
    apt_install_or_fail "${apt_needed[@]}"
    return 0 # apt installed them on the second try
  fi
  if [ ${#apt_needed[@]} -gt 0 ]; then
    apt_install_or_fail "${apt_needed[@]}"
    if apt_install_retrying "$log" "${apt_optional[@]}"; then
      rm -f "$log"
      return 0
    fi
  fi
  reason="$(apt_summary "$log")"
  rm -f "$log"
  setup_say "${apt_optional[*]} could not be installed ($reason): going on without it; the Wine suites take" \
    "the x86_64 route (tried again after a day or a change in apt's package lists; VELDRIX_SETUP_RETRY=1 tries now)"
  optional_failure_remember "$3" "${apt_optional[*]}" "$reason"
}
