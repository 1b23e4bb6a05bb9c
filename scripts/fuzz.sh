#!/usr/bin/env bash
# Runs a fuzz campaign: every fuzz target of the fuzz tree (or those named)
# for a given time each, a few at a time. Each target's corpus is kept and
# minimised outside the source tree, starts from the target's seeds every
# time, and whatever crashes, leaks, hangs or runs out of memory is kept as an
# input file beside it. Prints per target: runs, edges covered, corpus size,
# crashes (and leaks, hangs, memory exhaustion) found in this run.
#
# Usage: fuzz.sh [--time SECONDS] [--jobs N] [--corpus DIR] [--no-build] [TARGET ...]
#   --time    seconds per target (default 600)
#   --jobs    targets run at once (default 3; the machine is shared)
#   --corpus  where corpora and crash inputs are kept
#             (default $VELDRIX_FUZZ_CORPUS, else ~/.cache/veldrix-fuzz)
#   --no-build  use the fuzz tree as it is
# Exits non-zero when any target found a crash or could not run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELDRIX_BUILD_ROOT:-$root/build}/fuzz"
seconds=600
jobs=3
corpus_root="${VELDRIX_FUZZ_CORPUS:-${XDG_CACHE_HOME:-$HOME/.cache}/veldrix-fuzz}"
do_build=1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --time) seconds="${2:?--time needs seconds}"; shift 2 ;;
    --jobs) jobs="${2:?--jobs needs a number}"; shift 2 ;;
    --corpus) corpus_root="${2:?--corpus needs a directory}"; shift 2 ;;
    --no-build) do_build=0; shift ;;
    -h|--help) sed -n '2,15p' "$0"; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
case "$corpus_root" in
  "$root"|"$root"/*) echo "fuzz.sh: keep the corpora outside the source tree ($corpus_root)" >&2; exit 2 ;;
esac

if [ "$do_build" = 1 ]; then
  echo "=== building the fuzz tree"
  "$root/scripts/build.sh" fuzz
fi
manifest="$build/fuzz-targets.txt"
if [ ! -f "$manifest" ]; then
  echo "fuzz.sh: no $manifest: build the fuzz tree first (scripts/build.sh fuzz)" >&2
  exit 1
fi
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(cut -f1 "$manifest")
fi
for name in "${targets[@]}"; do
  if ! grep -q "^$name	" "$manifest"; then
    echo "fuzz.sh: no fuzz target $name (see $manifest)" >&2
    exit 2
  fi
done

mkdir -p "$corpus_root"
# libFuzzer's fork mode keeps its job files in TMPDIR: a memory file system
# when there is one.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

# Inputs kept because they crashed, leaked, hung or ran out of memory (slow
# inputs are kept beside them, but are no failure).
failures() {
  find "$1" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l
}

# One target: fuzz for the given time in fork mode (a crash is kept and the
# run goes on), then minimise the corpus. Writes its figures to summary.txt.
run_target() {
  local name="$1" line seeds dict bin dir log new
  line="$(grep "^$name	" "$manifest")"
  seeds="$(cut -f2 <<<"$line")"
  dict="$(cut -f3 <<<"$line")"
  bin="$build/bin/$name"
  dir="$corpus_root/$name"
  log="$dir/last-run.log"
  mkdir -p "$dir/corpus" "$dir/crashes"
  local before
  before="$(failures "$dir/crashes")"
  local args=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -timeout=30 -rss_limit_mb=2560
              -max_total_time="$seconds" -print_pcs=0 -artifact_prefix="$dir/crashes/")
  [ -n "$dict" ] && args+=(-dict="$dict")
  local inputs=("$dir/corpus")
  [ -n "$seeds" ] && [ -d "$seeds" ] && inputs+=("$seeds")
  echo "--- $name: fuzzing for ${seconds}s (log: $log)"
  # A crash found on the way makes the exit status non-zero: what counts is
  # whether the campaign ran at all.
  ASAN_OPTIONS=detect_leaks=1 "$bin" "${args[@]}" "${inputs[@]}" >"$log" 2>&1 || true
  if ! grep -qE '^#[0-9]+: cov: ' "$log"; then
    echo "$name	-	-	-	-	did not run (see $log)" >"$dir/summary.txt"
    return 0
  fi
  # Minimise: keep only the inputs that add coverage.
  new="$dir/corpus.merging"
  rm -rf "$new"
  mkdir -p "$new"
  if "$bin" -merge=1 -timeout=30 -rss_limit_mb=2560 "$new" "${inputs[@]}" >"$dir/last-merge.log" 2>&1; then
    rm -rf "$dir/corpus"
    mv "$new" "$dir/corpus"
  else
    rm -rf "$new"
    echo "--- $name: the corpus could not be minimised (see $dir/last-merge.log); kept as it was"
  fi
  # Runs from fork mode's last status line; edges from one pass over the
  # minimised corpus (the figure a plain libFuzzer run shows at its start).
  local status runs edges crashes
  status="$(grep -E '^#[0-9]+: cov: ' "$log" | tail -1 || true)"
  runs="$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$status")"
  edges="$("$bin" -runs=0 -timeout=30 -rss_limit_mb=2560 "$dir/corpus" 2>&1 |
    sed -nE 's/^#[0-9]+[[:space:]]+INITED cov: ([0-9]+) .*/\1/p' | tail -1)"
  crashes=$(($(failures "$dir/crashes") - before))
  echo "$name	${runs:-0}	${edges:-0}	$(find "$dir/corpus" -type f | wc -l)	$crashes	" >"$dir/summary.txt"
}

echo "=== ${#targets[@]} targets, ${seconds}s each, $jobs at a time: about" \
  "$(((${#targets[@]} + jobs - 1) / jobs * seconds / 60)) minutes; corpora in $corpus_root"
running=0
done_count=0
for name in "${targets[@]}"; do
  rm -f "$corpus_root/$name/summary.txt"
  run_target "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
    done_count=$((done_count + 1))
    echo "=== $done_count of ${#targets[@]} targets done"
  fi
done
wait

status=0
printf '\n%-34s %12s %8s %8s %8s\n' target runs edges corpus crashes
for name in "${targets[@]}"; do
  summary="$corpus_root/$name/summary.txt"
  if [ ! -f "$summary" ]; then
    printf '%-34s %s\n' "$name" "no result"
    status=1
    continue
  fi
  IFS=$'\t' read -r _ runs edges size crashes note <"$summary"
  printf '%-34s %12s %8s %8s %8s %s\n' "$name" "$runs" "$edges" "$size" "$crashes" "$note"
  if [ -n "$note" ] || { [ "$crashes" != "-" ] && [ "$crashes" -gt 0 ]; }; then status=1; fi
done
if [ "$status" -ne 0 ]; then
  echo "=== crashes or failures: the inputs are in $corpus_root/<target>/crashes"
fi
exit "$status"
