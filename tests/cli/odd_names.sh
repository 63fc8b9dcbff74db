#!/usr/bin/env bash
# Runs the built glimmer-convert (natively, or through Wine) on a card whose file names are odd:
# names Windows keeps for devices, names that differ only in the case of letters beyond ASCII,
# and, for the Windows program, a conversion killed or interrupted by Ctrl+C half-way.
#   odd_names.sh TEST_SET SCRATCH COMMAND...
set -u
test_set=$1
scratch=$2
shift 2
windows=false
[[ "$*" == *.exe* ]] && windows=true

# shellcheck source=tests/support/checks.sh
source "$(dirname "$0")/../support/checks.sh"

# A hung conversion fails the check instead of the whole test run.
run() {
  timeout 120 "$@" >"$scratch/stdout" 2>"$scratch/stderr" </dev/null
  status=$?
  out=$(tr -d '\r' <"$scratch/stdout")
  err=$(tr -d '\r' <"$scratch/stderr")
}

count() {
  grep -c -- "$1" <<<"$err"
}

rm -rf "$scratch"

# Device names: on Windows each is reported and the rest of the run goes on; elsewhere they
# are ordinary names.
mkdir -p "$scratch/devices/in" "$scratch/devices/out"
devices=(CON NUL aux COM1 LPT1 PRN 'CONIN$')
for name in "${devices[@]}" ok; do
  cp "$test_set/scans-sunset.cam" "$scratch/devices/in/$name.cam"
done
for mode in skip replace; do
  run "$@" --overwrite=$mode -o "$scratch/devices/out" "$scratch/devices/in"
  [ "$status" -ne 124 ] || fail "devices, $mode: the run hung"
  if $windows; then
    [ "$status" -eq 1 ] || fail "devices, $mode: exit status $status"
    [ "$out" = "1 converted, 0 incomplete, 0 skipped, 7 not converted, 0 failed" ] || fail "devices, $mode: summary '$out'"
    [ "$(count 'has the name of a device')" -eq 7 ] || fail "devices, $mode: messages were: $err"
    for name in "${devices[@]}"; do
      [[ "$err" == *"$name.cam' has the name of a device on this system: it is not converted"* ]] ||
        fail "devices, $mode: nothing said about $name.cam"
    done
    [ "$(ls -A "$scratch/devices/out")" = "ok.jpg" ] || fail "devices, $mode: the output folder holds $(ls -A "$scratch/devices/out")"
  else
    [ "$status" -eq 0 ] || fail "devices, $mode: exit status $status: $err"
    [ "$(ls -A "$scratch/devices/out" | wc -l)" -eq 8 ] || fail "devices, $mode: not every file was converted"
  fi
  rm -f "$scratch/devices/out/"*
done

# Names that differ only in letter case beyond ASCII: on Windows (and under Wine) they name one
# output, so the later source is reported and never overwrites the earlier one's picture.
mkdir -p "$scratch/case/in" "$scratch/case/out"
cp "$test_set/scans-sunset.cam" "$scratch/case/in/É.cam"
cp "$test_set/scans-rings.cam" "$scratch/case/in/é.cam"
cp "$test_set/scans-sunset.cam" "$scratch/case/in/Ω.cam"
cp "$test_set/scans-rings.cam" "$scratch/case/in/ω.cam"
run "$@" --overwrite=replace -o "$scratch/case/out" "$scratch/case/in"
if $windows; then
  [ "$status" -eq 1 ] || fail "case: exit status $status"
  [ "$out" = "2 converted, 0 incomplete, 0 skipped, 2 not converted, 0 failed" ] || fail "case: summary '$out'"
  [[ "$err" == *"é.cam: not converted: its output"*"has the same name as the output of"*"É.cam"* ]] || fail "case: nothing said about é.cam: $err"
  [[ "$err" == *"ω.cam: not converted: its output"*"has the same name as the output of"*"Ω.cam"* ]] || fail "case: nothing said about ω.cam: $err"
  expected="É.jpg Ω.jpg"
else
  [ "$status" -eq 0 ] || fail "case: exit status $status: $err"
  expected="É.jpg é.jpg Ω.jpg ω.jpg"
fi
[ "$(cd "$scratch/case/out" && ls | sort | tr '\n' ' ' | sed 's/ $//')" = "$(tr ' ' '\n' <<<"$expected" | sort | tr '\n' ' ' | sed 's/ $//')" ] ||
  fail "case: the output folder holds $(ls "$scratch/case/out")"
for name in É Ω; do
  djpeg -ppm "$scratch/case/out/$name.jpg" >"$scratch/case/$name.ppm" &&
    cmp -s "$scratch/case/$name.ppm" "$test_set/sunset.ppm" || fail "case: $name.jpg is not the sunset picture"
done

# The Windows program ended in the middle of a large file, its output in a folder still to make:
# by a kill, and by Ctrl+C (SIGINT to the Wine process), which must end it with a failure
# status, as a shell reports SIGINT. Either way nothing is left in the output folder.
#   end_midway CASE SIGNAL COMMAND...   sets status to the program's exit status, or to "hung"
#   when it had not ended 30 s after the signal (it is then killed)
end_midway() {
  local case=$1 signal=$2 started program temporary
  shift 2
  mkdir -p "$scratch/$case/in/sub" "$scratch/$case/out"
  printf '\x07\x20\x4d\x4d\x00\x01\x00\x04\xff\xff\xff\xff\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$scratch/$case/in/sub/big.cam"
  truncate -s $((22 + 4294967295)) "$scratch/$case/in/sub/big.cam"
  "$@" -r -o "$scratch/$case/out" "$scratch/$case/in" >/dev/null 2>&1 </dev/null &
  started=$!
  temporary=
  for _ in $(seq 600); do
    temporary=$(find "$scratch/$case/out" -name '.glimmer-*' -size +1M)
    [ -n "$temporary" ] && break
    sleep 0.1
  done
  [ -n "$temporary" ] || fail "$case: the conversion never got under way"
  program=$(pgrep -f "glimmer-convert.exe -r -o $scratch/$case/out" | head -n1)
  [ -n "$program" ] && kill "-$signal" "$program"
  for _ in $(seq 300); do
    kill -0 "$started" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$started" 2>/dev/null; then
    kill -KILL "$program" 2>/dev/null
    wait "$started" 2>/dev/null
    status=hung
  else
    wait "$started" 2>/dev/null
    status=$?
  fi
  for _ in $(seq 50); do
    [ -z "$(ls -A "$scratch/$case/out")" ] && break
    sleep 0.1
  done
  [ -z "$(ls -A "$scratch/$case/out")" ] || fail "$case: left behind: $(ls -A "$scratch/$case/out")"
}
if $windows; then
  end_midway killed KILL "$@"
  end_midway interrupted INT "$@"
  # Wine 8 now and then never finishes a process that ends itself while other threads run (see
  # windows_files.sh): one more Ctrl+C run decides then.
  if [ "$status" = hung ]; then
    echo "note: interrupted: Wine did not end the program within 30 s of SIGINT; once more"
    end_midway interrupted-again INT "$@"
  fi
  [ "$status" = 130 ] || fail "interrupted: exit status $status, not 130"
fi

finish
