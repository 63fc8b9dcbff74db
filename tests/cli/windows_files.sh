#!/usr/bin/env bash
# Runs glimmer-convert.exe under Wine where the Windows file layer meets the edges: runs ended
# by signals at any moment leave no temporary file behind, and a run removes the stale ones.
#   windows_files.sh TEST_SET SCRATCH COMMAND...
set -um
test_set=$1
scratch=$2
shift 2
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch"

# Signals: a run of many small files is ended by a signal while it converts; whatever the signal
# and wherever it falls (creating a temporary file, writing it, naming it the output), no
# .glimmer-* file stays. Each run is ended at a different moment.
mkdir -p "$scratch/signals/in"
for i in $(seq -w 1 200); do
  cp "$test_set/jpeg-bands.cam" "$scratch/signals/in/p$i.cam"
done
run=0
for signal in TERM INT HUP KILL TERM INT HUP KILL TERM KILL; do
  run=$((run + 1))
  out=$scratch/signals/out-$run
  mkdir -p "$out"
  "$@" -q -j 4 -o "$out" "$scratch/signals/in" >/dev/null 2>&1 </dev/null &
  started=$!
  # The signal comes once a number of outputs are there that differs from run to run.
  wanted=$((run * 7 % 40 + 2))
  program=
  while kill -0 "$started" 2>/dev/null; do
    [ -n "$program" ] || program=$(pgrep -f "\.exe -q -j 4 -o $out " | head -n1)
    [ -n "$program" ] && [ "$(ls "$out" | wc -l)" -ge "$wanted" ] && break
    sleep 0.01
  done
  [ -n "$program" ] && kill -s "$signal" "$program" 2>/dev/null
  wait "$started" 2>/dev/null
  # Wine closes a killed program's files a moment after the program is gone.
  for _ in $(seq 100); do
    [ -z "$(find "$out" -name '.glimmer-*')" ] && break
    sleep 0.05
  done
  converted=$(ls "$out" | wc -l)
  left=$(find "$out" -name '.glimmer-*' -printf '%f (%s bytes) ')
  [ "$converted" -lt 200 ] || echo "note: signals, run $run: SIG$signal came after the last file"
  [ -z "$left" ] || fail "signals, run $run: SIG$signal after $converted files left $left"
done

# Stale temporary files: a run removes from the folders it writes into the temporary files that
# an earlier run could not remove (long unused, open nowhere); never a fresh one, nor a name that
# is not exactly Glimmer's.
stale=$scratch/stale
mkdir -p "$stale/in/sub" "$stale/out/sub"
cp "$test_set/jpeg-bands.cam" "$stale/in/a.cam"
cp "$test_set/jpeg-bands.cam" "$stale/in/sub/b.cam"
for name in .glimmer-0123456789abcdef sub/.glimmer-fedcba9876543210 .glimmer-abc .glimmer-0123456789abcdex; do
  printf 'left' >"$stale/out/$name"
  touch -d '1 hour ago' "$stale/out/$name"
done
printf 'being written' >"$stale/out/.glimmer-00000000000000aa"
"$@" -q -r -o "$stale/out" "$stale/in" >/dev/null 2>&1 </dev/null || fail "stale: the run failed"
left=$(cd "$stale/out" && find . -type f | sort | tr '\n' ' ')
[ "$left" = "./.glimmer-00000000000000aa ./.glimmer-0123456789abcdex ./.glimmer-abc ./a.jpg ./sub/b.jpg " ] ||
  fail "stale: the output folder holds $left"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
