# Sourced by setup.sh (and its test): apt's steps, each one coping with what a
# mirror or a host may do, and failing only with the packages that cannot be
# installed named, apt's own message kept. Runs apt-get through $SUDO.
#   VELDRIX_APT_TRIES  times apt-get update is tried (default 3)
#   VELDRIX_APT_PAUSE  seconds between the tries (default 10)

setup_say() { echo "setup: $*"; }
setup_fail() {
  echo "setup: $*" >&2
  exit 1
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
  for try in $(seq "$tries"); do
    if $SUDO apt-get update -q >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    [ "$try" -eq "$tries" ] || sleep "$pause"
  done
  setup_say "apt-get update failed $tries times; going on with the package lists it has ($(apt_summary "$log"))"
  rm -f "$log"
}

# Installs the named packages. On failure it finds which of them apt cannot
# install (each tried alone in a simulated install) and fails naming those,
# or all of them when none fails alone, with apt's messages.
apt_install_or_fail() {
  local log out p unavailable=()
  log="$(mktemp)"
  if $SUDO apt-get install -y -q --no-install-recommends "$@" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  for p in "$@"; do
    if ! out="$(apt-get install -s -q --no-install-recommends "$p" 2>&1)"; then
      unavailable+=("$p")
      echo "$out" | grep -E '^E:|^ [^ ]' | sed "s/^/setup:   $p: /" >&2 || true
    fi
  done
  if [ ${#unavailable[@]} -gt 0 ]; then
    setup_fail "apt-get cannot install ${unavailable[*]} (apt's reasons above); check /etc/apt/sources.list" \
      "and the network, then run setup.sh again"
  fi
  apt_problems "$log" 20 | sed 's/^/setup:   /' >&2 || true
  rm -f "$log"
  setup_fail "apt-get could not install ${*} together (apt's messages above); run setup.sh again, or" \
    "install them by hand to see why"
}

# Installs the project's packages and the optional ones (the 32-bit Wine of
# the i686 route). When the set cannot be installed, the needed ones are
# installed alone (failing as above when they cannot be), and the optional
# ones are left out with a line saying why.
apt_install_packages() {
  local -n apt_needed="$1" apt_optional="$2"
  local log
  log="$(mktemp)"
  if $SUDO apt-get install -y -q --no-install-recommends "${apt_needed[@]}" "${apt_optional[@]}" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  if [ ${#apt_optional[@]} -eq 0 ]; then
    rm -f "$log"
    apt_install_or_fail "${apt_needed[@]}"
    return 0 # apt installed them on the second try
  fi
  [ ${#apt_needed[@]} -eq 0 ] || apt_install_or_fail "${apt_needed[@]}"
  setup_say "${apt_optional[*]} could not be installed ($(apt_summary "$log")): going on without it; the" \
    "Wine suites take the x86_64 route"
  rm -f "$log"
}
