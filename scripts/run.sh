#!/usr/bin/env bash
# Builds the programs and the reference library (the content made from the
# installed dictionary packages), imports the library's settings into the Wine
# prefix, puts the stand-in media architecture into its system folder, then
# runs the reader VELDRX32.EXE on that content. The library is rebuilt when
# the content builder is newer than it (about a minute and a half).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
builds="${VELDRIX_BUILD_ROOT:-$root/build}"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" win32

# The content builder without sanitizers (the tree of the benchmarks).
tools="$builds/bench"
cmake -S "$root" -B "$tools" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELDRIX_SANITIZE=OFF >/dev/null
cmake --build "$tools" --target veldbuild -j "$(nproc)"
content="$builds/library"
stamp="$builds/library.built"  # written once the whole library is
if [ ! -e "$stamp" ] || [ "$tools/bin/veldbuild" -nt "$stamp" ]; then
  rm -rf "$content" "$stamp"
  "$tools/bin/veldbuild" library "$content"
  touch "$stamp"
fi

export WINEPREFIX="$builds/win32/wineprefix" WINEDEBUG=-all
"$root/scripts/wine-prefix.sh"
wine regedit /S "Z:${content//\//\\}\\SETTINGS.REG"
wineserver -w
# The stand-in media architecture where the reader looks for it: the
# system folder (its component manager loads the panorama plug-in beside it).
system32="$WINEPREFIX/drive_c/windows/system32"
for library in KNIM32.DLL KNCM32.DLL KNVRW32.DLL; do
  cp "$builds/win32/bin/$library" "$system32/$library"
done

# The reader on the library. It runs until it is closed: its
# windows are those of the prefix's graphics driver (none with the null
# driver, where the program simply runs; end it with Ctrl-C).
cd "$builds/win32/bin"
exec wine VELDRX32.EXE
