#!/usr/bin/env bash
# Builds the programs and the sample content, then runs what exists of the
# reader under Wine on that content.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
builds="${VELDRIX_BUILD_ROOT:-$root/build}"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" win32
export WINEPREFIX="$builds/win32/wineprefix"
"$root/scripts/wine-prefix.sh"
# The reader program is not built yet: this runs the engine library's own
# check, which loads ZORLRE32.DLL and calls every export by ordinal.
cd "$builds/win32/bin"
WINEDEBUG=-all wine engine_ordinal_tests.exe
