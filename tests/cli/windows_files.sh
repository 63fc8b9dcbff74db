#!/usr/bin/env bash
# Runs glimmer-convert.exe under Wine where the Windows file layer meets the edges: names that
# Windows takes apart and paths past 260 characters are converted, runs ended by signals at any
# moment leave no temporary file behind, and a run removes the stale ones.
#   windows_files.sh TEST_SET SCRATCH COMMAND...
set -um
test_set=$1
scratch=$2
shift 2
# shellcheck source=tests/support/checks.sh
source "$(dirname "$0")/../support/checks.sh"

# The Wine process whose command line matches: the one that is neither a shell nor timeout.
program_of() {
  local pid
  for pid in $(pgrep -f "$1"); do
    case $(cat "/proc/$pid/comm" 2>/dev/null) in
      bash | sh | timeout | xvfb-run | flock | "") ;;
      *) echo "$pid" && return ;;
    esac
  done
}

rm -rf "$scratch"
mkdir -p "$scratch"

# Names Windows would take apart, and long paths: folders whose Linux names end in a dot or a
# space or are only dots, a file with a space before its extension, and a source and an output
# folder each more than 260 characters deep. Every file is converted, into sub-folders of the
# same names (Windows would strip "dir." to "dir" and find nothing there).
names=$scratch/names
long=$(printf 'l%.0s' {1..100})
mkdir -p "$names/in/dir." "$names/in/sp " "$names/in/..." "$names/in/$long/$long/$long" "$names/out/$long/$long"
cp "$test_set/jpeg-bands.cam" "$names/in/dir./a.cam"
cp "$test_set/jpeg-bands.cam" "$names/in/sp /b.cam"
cp "$test_set/jpeg-bands.cam" "$names/in/.../c.cam"
cp "$test_set/jpeg-bands.cam" "$names/in/pic .cam"
cp "$test_set/jpeg-bands.cam" "$names/in/$long/$long/$long/deep.cam"
out=$names/out/$long/$long
timeout -k 5 120 "$@" -q -r -o "$out" "$names/in" >"$scratch/stdout" 2>"$scratch/stderr" </dev/null
status=$?
[ "$status" -eq 0 ] || fail "names: exit status $status: $(tr -d '\r' <"$scratch/stderr")"
for output in "dir./a.jpg" "sp /b.jpg" ".../c.jpg" "pic .jpg" "$long/$long/$long/deep.jpg"; do
  cmp -s "$out/$output" "$test_set/bands.jpg" || fail "names: ${output:0:40} was not converted"
done

# A folder that even the long form cannot reach (under Wine, one whose Linux path passes the
# 4,096 bytes Linux opens): the files beside it are converted, the folder is named on standard
# error, and the run fails; it is never passed over in silence.
unreachable=$scratch/unreachable
wide=$(printf 'w%.0s' {1..200})
deep=$unreachable/in
for _ in $(seq 19); do deep=$deep/$wide; done
mkdir -p "$unreachable/out" "$deep"
(cd "$deep" && mkdir "$(printf 'u%.0s' {1..250})")
cp "$test_set/jpeg-bands.cam" "$deep/kept.cam"
timeout -k 5 120 "$@" -q -r --flat -o "$unreachable/out" "$unreachable/in" \
  >"$scratch/stdout" 2>"$scratch/stderr" </dev/null
status=$?
[ "$status" -eq 1 ] || fail "unreachable: exit status $status, not 1"
cmp -s "$unreachable/out/kept.jpg" "$test_set/bands.jpg" || fail "unreachable: kept.cam was not converted"
grep -q "uuuuuuuuuu" "$scratch/stderr" || fail "unreachable: the folder is not named: $(tr -d '\r' <"$scratch/stderr")"

# Signals: a run of many small files is ended by a signal while it converts; whatever the signal
# and wherever it falls (creating a temporary file, writing it, naming it the output), no
# .glimmer-* file stays. Each run is ended at a different moment.
mkdir -p "$scratch/signals/in"
for i in $(seq -w 1 200); do
  cp "$test_set/jpeg-bands.cam" "$scratch/signals/in/p$i.cam"
done
# Wine 8 now and then never finishes a process that ends itself while other threads run (about
# one Ctrl+C in twenty here: the thread in NtTerminateProcess waits on a lock of Wine's own that a
# thread it killed held). Such a run is ended with SIGKILL and noted; a program whose own
# Ctrl+C handling never ends would hang in every INT run, which fails.
hung=0
run=0
for signal in TERM INT HUP KILL TERM INT HUP KILL TERM KILL; do
  run=$((run + 1))
  out=$scratch/signals/out-$run
  mkdir -p "$out"
  timeout -k 5 120 "$@" -q -j 4 -o "$out" "$scratch/signals/in" >/dev/null 2>&1 </dev/null &
  started=$!
  # The signal comes once a number of outputs are there that differs from run to run.
  wanted=$((run * 7 % 40 + 2))
  program=
  deadline=$((SECONDS + 60))
  while kill -0 "$started" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    # The program itself, not the scripts around it (which carry the same arguments).
    [ -n "$program" ] || program=$(program_of "\.exe -q -j 4 -o $out ")
    [ -n "$program" ] && [ "$(ls "$out" | wc -l)" -ge "$wanted" ] && break
    sleep 0.01
  done
  [ -n "$program" ] && kill -s "$signal" "$program" 2>/dev/null
  for _ in $(seq 300); do
    kill -0 "$started" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$started" 2>/dev/null; then
    hung=$((hung + 1))
    echo "note: signals, run $run: Wine did not end the program within 30 s of SIG$signal; killed"
    kill -s KILL "$program" 2>/dev/null
  fi
  wait "$started" 2>/dev/null
  # Wine closes a killed program's files a moment after the program is gone, later on a busy
  # machine.
  for _ in $(seq 300); do
    [ -z "$(find "$out" -name '.glimmer-*')" ] && break
    sleep 0.1
  done
  converted=$(ls "$out" | wc -l)
  left=$(find "$out" -name '.glimmer-*' -printf '%f (%s bytes) ')
  [ "$converted" -lt 200 ] || echo "note: signals, run $run: SIG$signal came after the last file"
  [ -z "$left" ] || fail "signals, run $run: SIG$signal after $converted files left $left"
done
[ "$hung" -le 1 ] || fail "signals: $hung runs did not end after their signal"

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
timeout -k 5 120 "$@" -q -r -o "$stale/out" "$stale/in" >/dev/null 2>&1 </dev/null ||
  fail "stale: the run failed"
left=$(cd "$stale/out" && find . -type f | sort | tr '\n' ' ')
[ "$left" = "./.glimmer-00000000000000aa ./.glimmer-0123456789abcdex ./.glimmer-abc ./a.jpg ./sub/b.jpg " ] ||
  fail "stale: the output folder holds $left"

finish
