#!/usr/bin/env bash
# The documents tell the truth about glimmer-convert: every exit status it gives and every word
# of its summary is explained in --help, the manual page and the README; the range of -j and
# what happens to paths named on the command line are stated as the program behaves; and the
# README's examples run as they stand, on the demo device.
#   documents.sh SOURCE_DIR STAGE_DIR TEST_SET SCRATCH GLIMMER_CONVERT
set -u
top=$1
stage=$2
test_set=$3
scratch=$4
converter=$(realpath "$5")
# shellcheck source=tests/support/checks.sh
source "$(dirname "$0")/../support/checks.sh"

# Texts with their line breaks and spacing made single spaces, for phrases across lines.
flat() { tr '\n' ' ' | tr -s ' '; }
help=$("$converter" --help | flat)
manual=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$stage/glimmer-convert.1" 2>/dev/null | col -b)
manual_flat=$(flat <<<"$manual")
# The README's section on glimmer-convert, from its heading to the next one.
readme=$(awk '/^## / { on = ($0 == "## Command-line converter"); next } on' "$top/README.md")
readme_flat=$(flat <<<"$readme")

# A section of the rendered manual page, from its heading to the next.
section() { awk -v s="$1" '/^[A-Z]/ { on = ($0 == s); next } on' <<<"$manual"; }

rm -rf "$scratch"
mkdir -p "$scratch/in/sub" "$scratch/out"

# ---- The statuses the program gives, each from a run that gives it.
statuses=()
run() {
  "$converter" "$@" >"$scratch/stdout" 2>"$scratch/stderr" </dev/null
  statuses+=($?)
}
cp "$test_set/scans-sunset.cam" "$scratch/in/good.cam"
run -q -o "$scratch/out" "$scratch/in"
cp "$test_set/not-cam.cam" "$scratch/in/broken.cam"
run -q --overwrite=replace -o "$scratch/out" "$scratch/in"
run --overwrite=never "$scratch/in"
# Ctrl+C in the middle of a large file: a shell reports 128 and the signal's number.
big=$scratch/big/big.cam
mkdir -p "$scratch/big"
printf '\x07\x20\x4d\x4d\x00\x01\x00\x04\xff\xff\xff\xff\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$big"
truncate -s $((22 + 4294967295)) "$big"
# With job control, so that the background program does not start with SIGINT ignored.
set -m
"$converter" -q -o "$scratch/out" "$scratch/big" >/dev/null 2>&1 </dev/null &
started=$!
set +m
sleep 0.5
kill -INT "$started"
wait "$started"
statuses+=($?)
[ "${statuses[*]}" = "0 1 2 130" ] || fail "the runs gave the statuses ${statuses[*]}, not 0 1 2 130"

exit_section=$(section "EXIT STATUS" | flat)
readme_exit=$(grep -A8 -- '^- Exit status' <<<"$readme" | flat)
help_exit=$(grep -o 'Exit status:.*' <<<"$help")
for status in "${statuses[@]}"; do
  grep -qw -- "$status" <<<"$exit_section" || fail "the manual's EXIT STATUS does not explain $status"
  grep -qw -- "$status" <<<"$readme_exit" || fail "the README's exit status does not explain $status"
  grep -qw -- "$status" <<<"$help_exit" || fail "--help's exit status does not explain $status"
done

# ---- Every word of the summary, from a run that has a file of each.
rm -rf "$scratch/in" "$scratch/out"
mkdir -p "$scratch/in/one" "$scratch/in/two" "$scratch/out"
cp "$test_set/scans-sunset.cam" "$scratch/in/good.cam"
cp "$test_set/cut-in-scan2.cam" "$scratch/in/cut.cam"
cp "$test_set/scans-rings.cam" "$scratch/in/kept.cam"
echo old >"$scratch/out/kept.jpg"
cp "$test_set/not-cam.cam" "$scratch/in/broken.cam"
cp "$test_set/scans-sunset.cam" "$scratch/in/one/twin.cam"
cp "$test_set/scans-rings.cam" "$scratch/in/two/twin.cam"
summary=$("$converter" -o "$scratch/out" "$scratch/in" "$scratch/in/one" "$scratch/in/two" 2>/dev/null </dev/null)
words=$(sed -E 's/(^|, )[0-9]+ /\n/g' <<<"$summary" | sed '/^$/d')
[ "$(sed -E 's/[0-9]+/N/g' <<<"$summary")" = "N converted, N incomplete, N skipped, N not converted, N failed" ] ||
  fail "the summary reads '$summary'"
[ "$(grep -oE '[0-9]+' <<<"$summary" | tr '\n' ' ')" = "2 1 1 1 1 " ] || fail "the summary of one file each reads '$summary'"
# The terms of the page's DESCRIPTION: each a .TP paragraph's bold tag.
documented=$(awk '/^\.SH/ { on = ($2 == "DESCRIPTION"); next }
                  on && tagged && /^\.B / { sub(/^\.B /, ""); print }
                  { tagged = ($0 == ".TP") }' "$stage/glimmer-convert.1")
[ "$documented" = "$words" ] || fail "the manual explains the words '$(echo $documented)', the summary has '$(echo $words)'"
while read -r word; do
  grep -q -- "\*\*$word\*\*" <<<"$readme_flat" || fail "the README does not explain '$word'"
  grep -qE -- "(: |; )$word( \(|;|\.)" <<<"$help" || fail "--help does not explain '$word'"
done <<<"$words"

# ---- -j: the range the program accepts, as every document states it.
range=$("$converter" -j 0 x 2>&1 | grep -oE 'from [0-9]+ to [0-9]+')
low=$(cut -d' ' -f2 <<<"$range")
high=$(cut -d' ' -f4 <<<"$range")
[ -n "$range" ] || fail "-j 0 does not say the range"
"$converter" -j "$low" --version >/dev/null 2>&1 || fail "-j $low is refused"
"$converter" -j "$high" --version >/dev/null 2>&1 || fail "-j $high is refused"
"$converter" -j $((high + 1)) --version >/dev/null 2>&1 && fail "-j $((high + 1)) is accepted"
stated="N from $low to $high"
grep -qF -- "$stated" <<<"$help" || fail "--help does not say '$stated'"
grep -qF -- "$stated" <<<"$(section OPTIONS | flat)" || fail "the manual does not say '$stated'"
grep -qF -- "$stated" <<<"$readme_flat" || fail "the README does not say '$stated'"

# ---- Paths named on the command line are converted even where a walk skips them.
rm -rf "$scratch/named" "$scratch/out"
mkdir -p "$scratch/named/RECYCLED" "$scratch/out"
cp "$test_set/scans-sunset.cam" "$scratch/named/RECYCLED/binned.cam"
cp "$test_set/scans-rings.cam" "$scratch/real.cam"
ln -s "$scratch/real.cam" "$scratch/named/link.cam"
"$converter" -q -r -o "$scratch/out" "$scratch/named" >/dev/null 2>&1
[ -z "$(ls -A "$scratch/out")" ] || fail "a walk converted $(ls -A "$scratch/out")"
"$converter" -q -o "$scratch/out" "$scratch/named/RECYCLED" "$scratch/named/link.cam" >/dev/null 2>&1 ||
  fail "a RECYCLED folder and a link named on the command line were not converted"
[ "$(ls "$scratch/out" | tr '\n' ' ')" = "binned.jpg link.jpg " ] || fail "named paths gave: $(ls "$scratch/out")"
rule="a folder named RECYCLED or a symbolic link named on the command line is converted"
grep -qiF -- "$rule" <<<"$help" || fail "--help does not say: $rule"
grep -qiF -- "$rule" <<<"$manual_flat" || fail "the manual does not say: $rule"
grep -qiF -- "$rule" <<<"$readme_flat" || fail "the README does not say: $rule"

# ---- The README's examples, as they stand, from a copy of the repository's top folder with
# the demo device and the converter where the README says.
examples=$(awk '/^```sh$/ { inside = 1; next } /^```$/ { if (inside) exit } inside' <<<"$readme")
[ -n "$examples" ] || fail "the README shows no example"
copy=$scratch/top
mkdir -p "$copy/build/native/cli" "$copy/demo"
cp -r "$top/demo/device" "$copy/demo/"
ln -s "$converter" "$copy/build/native/cli/glimmer-convert"
while read -r line; do
  (cd "$copy" && eval "${examples%%$'\n'glimmer-convert*}" >/dev/null && eval "$line") >"$scratch/stdout" 2>"$scratch/stderr" </dev/null
  status=$?
  [ "$status" -eq 0 ] || fail "the README's '$line' exited with $status: $(cat "$scratch/stderr")"
  if [[ $line == glimmer-convert* ]]; then
    grep -qE '^[1-9][0-9]* converted|, [1-9][0-9]* skipped' "$scratch/stdout" ||
      fail "the README's '$line' converted nothing: $(cat "$scratch/stdout")"
  fi
done < <(grep '^glimmer-convert' <<<"$examples")
(cd "$copy" && find pictures -name '*.jpg' | sort) >"$scratch/pictures"
for picture in sunset.jpg rings.jpg bands.jpg checker.jpg "My Documents/sunset.jpg" "My Documents/Holiday/bands.jpg"; do
  grep -qxF "pictures/$picture" "$scratch/pictures" || fail "the README's examples made no pictures/$picture"
done

finish
