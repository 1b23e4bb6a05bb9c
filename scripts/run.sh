#!/usr/bin/env bash
# Builds the reader and the sample content and runs VELDRX32.EXE on it
# through Wine's X11 driver, in a prefix of its own (build/<tree>/runprefix;
# the tests' prefixes keep the null driver). The Wine route (i686 or x86_64)
# is the tests' one (scripts/wine-env.sh).
#
# With a display (DISPLAY set) the reader opens in a real window and runs
# until it is closed. Without one, a virtual X server (Xvfb) is started, the
# reader is taken through the home screen and the five other screens with
# keys, as a user would, a picture of each is saved in build/shots/, and the
# reader is ended.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
builds="${VELDRIX_BUILD_ROOT:-$root/build}"
trap 'echo "run.sh: \"$BASH_COMMAND\" failed (status $?) at line $LINENO" >&2' ERR

if [ -z "${DISPLAY:-}" ] && [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: WAYLAND_DISPLAY is set but DISPLAY is not: Wine draws through X11, so start Xwayland" \
    "(DISPLAY), or unset WAYLAND_DISPLAY to take the pictures on a virtual X server." >&2
  exit 1
fi

"$root/scripts/setup.sh"
. "$root/scripts/wine-env.sh"
veldrix_wine_use
tree="$VELDRIX_WINE_TREE"
echo "run.sh: the $VELDRIX_WINE_ARCH route (tree $tree)${VELDRIX_WINE_ROUTE_REASON:+: $VELDRIX_WINE_ROUTE_REASON}"
"$root/scripts/build.sh" native veldbuild
"$root/scripts/build.sh" "$tree" VELDRX32 ZORLRE32 pnen3230 KNIM32 KNCM32 KNVRW32

sample="$builds/sample"
rm -rf "$sample"
"$builds/native/bin/veldbuild" sample "$sample" >/dev/null

export WINEPREFIX="$builds/$tree/runprefix"
VELDRIX_WINE_GRAPHICS=x11 "$root/scripts/wine-prefix.sh"
# The sample's settings, and whether Wine draws the window's frame itself
# (on a virtual X server, where no window manager does).
decorated=Y
[ -n "${DISPLAY:-}" ] || decorated=N
settings="$WINEPREFIX/veldrix-run.reg"
{
  cat "$sample/SETTINGS.REG"
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Decorated"="%s"\r\n' "$decorated"
} >"$settings"
if ! env -u DISPLAY "$WINE" regedit /S "Z:${settings//\//\\}"; then
  echo "run.sh: the sample's settings could not be imported into $WINEPREFIX" >&2
  exit 1
fi
"$WINESERVER" -w
# The stand-in media architecture where the reader looks for it: the prefix's
# system folder (system32 holds the route's own DLLs, 32-bit in a 32-bit
# prefix, 64-bit in a 64-bit one).
system32="$WINEPREFIX/drive_c/windows/system32"
for library in KNIM32.DLL KNCM32.DLL KNVRW32.DLL; do
  cp "$builds/$tree/bin/$library" "$system32/$library"
done
cd "$builds/$tree/bin"

if [ -n "${DISPLAY:-}" ]; then
  echo "run.sh: the reader runs on display $DISPLAY until it is closed"
  exec "$WINE" VELDRX32.EXE
fi

# --- Without a display: the tour on a virtual X server ---
shots="$builds/shots"
title="The Marovan & World Encyclopedia"
work="$(mktemp -d)"
xvfb_pid="" reader_pid=""
finish() {
  local status=$?
  if [ -n "$reader_pid" ] && kill -0 "$reader_pid" 2>/dev/null; then
    kill "$reader_pid" 2>/dev/null || true
    "$WINESERVER" -k 2>/dev/null || true
  fi
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
  exit "$status"
}
trap finish EXIT
fail() {
  echo "run.sh: $1" >&2
  [ ! -s "$work/reader.log" ] || { echo "run.sh: the reader's output:" >&2; tail -n 20 "$work/reader.log" >&2; }
  exit 1
}

# A free display number, told by the server once it listens.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not answer within 10 seconds"
export DISPLAY=":$(cat "$work/display")"
echo "run.sh: no display: the reader runs on the virtual X server $DISPLAY"

"$WINE" VELDRX32.EXE >"$work/reader.log" 2>&1 &
reader_pid=$!
window=""
for _ in $(seq 120); do
  kill -0 "$reader_pid" 2>/dev/null || fail "the reader ended before it showed its window"
  window="$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)"
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || fail "the reader showed no window within 60 seconds"

# Waits until the window's picture has finished changing (the screen has
# drawn, and the home screen played its intro), at most $1 seconds: over the
# last three seconds it showed at most two pictures, each more than once (a
# blinking caret alternates between two).
settle() {
  local limit=$1 recent=() now i=0
  for _ in $(seq $((limit * 2))); do
    kill -0 "$reader_pid" 2>/dev/null || fail "the reader ended on its own"
    now="$(import -window "$window" rgb:- 2>/dev/null | md5sum | cut -c1-32)"
    recent+=("$now")
    [ "${#recent[@]}" -le 6 ] || recent=("${recent[@]:1}")
    [ -z "${VELDRIX_RUN_DEBUG:-}" ] || import -window "$window" "$shots/$2-$((i++)).png"
    if [ "${#recent[@]}" -eq 6 ] && printf '%s\n' "${recent[@]}" | sort | uniq -c |
      awk '$1 < 2 { once = 1 } END { exit !(NR <= 2 && !once) }'; then
      return 0
    fi
    sleep 0.5
  done
  import -window "$window" "$shots/$2-unsettled.png" 2>/dev/null || true
  fail "the window still changed after $limit seconds (its last picture: $shots/$2-unsettled.png)"
}
shot() {
  settle "$2" "$1"
  import -window "$window" "$shots/$1.png" || fail "no picture of the $1 screen"
  echo "run.sh: $shots/$1.png"
}
keys() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --delay 300 "$@"
}

rm -rf "$shots"
mkdir -p "$shots"
shot home 60                # the intro movie plays, the buttons come in
keys Return                 # any key leads to the encyclopedia
shot encyclopedia 30
keys alt+n d                # Navigation, Dictionary
shot dictionary 30
keys alt+g m                # Go, Media
shot media 30
keys alt+g t                # Go, Timeline
shot timeline 30
keys alt+g q                # Go, Quiz
shot quiz 30
keys alt+f x                # File, Exit, and Yes to the question
sleep 1
keys Return
for _ in $(seq 60); do
  kill -0 "$reader_pid" 2>/dev/null || break
  sleep 0.5
done
kill -0 "$reader_pid" 2>/dev/null && fail "the reader did not end after File, Exit"
wait "$reader_pid" || fail "the reader ended with status $?"
reader_pid=""
"$WINESERVER" -w
echo "run.sh: the pictures of the six screens are in $shots"
