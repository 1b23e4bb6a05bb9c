# Sourced by setup.sh and wine-env.sh: whether this host runs 32-bit x86
# code, told by starting a 93-byte i386 program that only exits with status
# 42. It needs no package: a kernel without IA-32 emulation answers "Exec
# format error", which no installed package can change. The shell's words
# about a failed start are read, so the probe is started in the C locale
# (the caller's is left as it is).

# The program: an ELF header (32-bit, little-endian, i386, entry 0x08048054),
# one loadable segment holding the whole file, then
#   xor eax,eax; inc eax; xor ebx,ebx; mov bl,42; int 0x80   (exit(42))
veldrix_write_i386_probe() {
  printf '%b' \
    '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
    '\x00\x00\x00\x00' \
    '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
    '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
    '\x31\xc0\x40\x31\xdb\xb3\x2a\xcd\x80' >"$1"
  chmod 755 "$1"
}

# Returns 0 when the probe runs, 1 when the kernel refuses it; either way
# VELDRIX_HOST_32BIT_REASON says what was seen. Folders mounted noexec are
# passed over (the probe is tried in TMPDIR, then /dev/shm, then the home
# folder); where it could be started nowhere the answer is 1 with that reason.
veldrix_host_runs_32bit() {
  local base dir out status
  VELDRIX_HOST_32BIT_REASON="the 32-bit probe could not be started in ${TMPDIR:-/tmp}, /dev/shm or ${HOME:-~} (all noexec?)"
  for base in "${TMPDIR:-/tmp}" /dev/shm "${HOME:-}"; do
    [ -n "$base" ] && [ -d "$base" ] && [ -w "$base" ] || continue
    dir="$(mktemp -d "$base/veldrix-probe.XXXXXX" 2>/dev/null)" || continue
    veldrix_write_i386_probe "$dir/probe"
    status=0
    # The failed start is reported by the subshell in its own locale, so
    # LC_ALL is set in it: set for the probe alone it would reach only the probe.
    out="$(
      export LC_ALL=C
      "$dir/probe" 2>&1
    )" || status=$?
    rm -rf "$dir"
    if [ "$status" -eq 42 ]; then
      VELDRIX_HOST_32BIT_REASON="a 32-bit program runs here"
      return 0
    fi
    case "$out" in
      *"Permission denied"*) continue ;; # a noexec mount: try the next folder
    esac
    VELDRIX_HOST_32BIT_REASON="this host runs no 32-bit code (a 32-bit program: ${out##*: }${out:+, }status $status)"
    return 1
  done
  return 1
}
