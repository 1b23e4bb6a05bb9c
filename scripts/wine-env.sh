# Sourced by the scripts that run Windows programs. Chooses the Wine route and
# sets the loader, server and prefix architecture for it:
#   i686    the deliverables' own build (tree win32) under 32-bit Wine, where
#           the host runs 32-bit code and 32-bit Wine is installed and starts;
#   x86_64  the same sources built for x86_64 (tree win64) under 64-bit Wine,
#           everywhere else.
# VELDRIX_WINE_ARCH (i686 or x86_64) forces a route; otherwise the route is
# found once (host-probe.sh, then the i686 Wine loader is started) and
# exported for the scripts and tests started from here
# (VELDRIX_WINE_ROUTE_REASON says why the 64-bit route was taken).

. "$(dirname "${BASH_SOURCE[0]}")/host-probe.sh"
VELDRIX_WINE32_LOADER=/usr/lib/wine/wine
VELDRIX_WINE64_LOADER=/usr/lib/wine/wine64

veldrix_wine_route() {
  if [ -n "${VELDRIX_WINE_ARCH:-}" ]; then
    case "$VELDRIX_WINE_ARCH" in
      i686 | x86_64) return 0 ;;
      *)
        echo "VELDRIX_WINE_ARCH is '$VELDRIX_WINE_ARCH': set it to i686 or x86_64, or unset it" >&2
        return 1
        ;;
    esac
  fi
  local probe
  VELDRIX_WINE_ARCH=x86_64
  if ! veldrix_host_runs_32bit; then
    VELDRIX_WINE_ROUTE_REASON="$VELDRIX_HOST_32BIT_REASON"
  elif [ ! -x "$VELDRIX_WINE32_LOADER" ]; then
    VELDRIX_WINE_ROUTE_REASON="32-bit Wine ($VELDRIX_WINE32_LOADER, package wine32:i386) is not installed: scripts/setup.sh installs it where apt can"
  elif probe="$("$VELDRIX_WINE32_LOADER" --version 2>&1)"; then
    VELDRIX_WINE_ARCH=i686
    VELDRIX_WINE_ROUTE_REASON=""
  else
    VELDRIX_WINE_ROUTE_REASON="the i686 Wine loader does not start here (${probe##*: })"
  fi
  export VELDRIX_WINE_ARCH VELDRIX_WINE_ROUTE_REASON
}

# Sets WINE (the loader to run programs with), WINESERVER, WINEARCH and
# VELDRIX_WINE_TREE for the chosen route.
veldrix_wine_use() {
  veldrix_wine_route || return 1
  # No mono or gecko, and a crashing program ends instead of waiting in the debugger.
  export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  WINESERVER=/usr/bin/wineserver
  if [ "$VELDRIX_WINE_ARCH" = i686 ]; then
    WINE=/usr/bin/wine
    VELDRIX_WINE_TREE=win32
    export WINEARCH=win32
  else
    WINE="$VELDRIX_WINE64_LOADER"
    VELDRIX_WINE_TREE=win64
    export WINEARCH=win64 WINELOADER="$VELDRIX_WINE64_LOADER"
  fi
  local tool
  for tool in "$WINE" "$WINESERVER"; do
    if [ ! -x "$tool" ]; then
      echo "Wine is not installed for the $VELDRIX_WINE_ARCH route ($tool is missing): run scripts/setup.sh" >&2
      return 1
    fi
  done
}
