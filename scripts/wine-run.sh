#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's own prefix, headless.
# Used by CTest as the cross-compiling emulator: wine-run.sh [--arch A] prog.
# The prefix is made once (see wine-prefix.sh); a lock keeps parallel tests
# from racing to make it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ "${1:-}" = --arch ]; then
  export VELDRIX_WINE_ARCH="$2"
  shift 2
else
  export VELDRIX_WINE_ARCH=i686
fi
. "$here/wine-env.sh"
veldrix_wine_use
export WINEPREFIX="${WINEPREFIX:-${VELDRIX_WINEPREFIX:-$PWD/wineprefix}}"
"$here/wine-prefix.sh"
exec "$WINE" "$@"
