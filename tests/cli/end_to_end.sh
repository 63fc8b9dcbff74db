#!/usr/bin/env bash
# Runs the built glimmer-convert (natively, or through Wine) on CAM files made from cjpeg
# output and checks the JPEG files with djpeg against the encoder's own decoded pixels.
#   end_to_end.sh TEST_SET SCRATCH COMMAND...
set -u
test_set=$1
scratch=$2
shift 2
# shellcheck source=tests/support/checks.sh
source "$(dirname "$0")/../support/checks.sh"

run() {
  "$@" >"$scratch/stdout" 2>"$scratch/stderr" </dev/null
  status=$?
  out=$(tr -d '\r' <"$scratch/stdout")
  err=$(tr -d '\r' <"$scratch/stderr")
}

rm -rf "$scratch"
mkdir -p "$scratch/in/sub" "$scratch/out" "$scratch/in/RECYCLED"
cp "$test_set"/scans-sunset.cam "$test_set"/scans-rings.cam "$test_set"/jpeg-bands.cam "$scratch/in/"
cp "$test_set"/scans-checker.cam "$scratch/in/sub/"
cp "$test_set"/scans-checker.cam "$scratch/in/RECYCLED/binned.cam"

run "$@" -r -o "$scratch/out" "$scratch/in"
[ "$status" -eq 0 ] || fail "conversion exited with $status: $err"
[ "$out" = "4 converted, 0 incomplete, 0 skipped, 0 not converted, 0 failed" ] || fail "summary was '$out'"
for picture in sunset rings checker; do
  jpeg=$scratch/out/scans-$picture.jpg
  [ "$picture" = checker ] && jpeg=$scratch/out/sub/scans-checker.jpg
  scans=$(cat "$test_set/$picture".scan[123] | wc -c)
  size=$(wc -c <"$jpeg")
  [ "$size" -eq $((641 + scans)) ] || fail "$picture: $size bytes, not 641 + $scans"
  djpeg -ppm "$jpeg" >"$scratch/$picture.ppm" || fail "$picture: djpeg rejected the output"
  cmp -s "$scratch/$picture.ppm" "$test_set/$picture.ppm" || fail "$picture: pixels differ from the encoder's"
done
cmp -s "$scratch/out/jpeg-bands.jpg" "$test_set/bands.jpg" || fail "the tag-4 JPEG was not copied unchanged"
[ ! -e "$scratch/out/binned.jpg" ] || fail "a file in RECYCLED was converted"
[ -z "$(find "$scratch/out" -name '.glimmer-*')" ] || fail "a temporary file was left behind"
[ "$(cd "$scratch/out" && find . | sort | tr '\n' ' ')" = ". ./jpeg-bands.jpg ./scans-rings.jpg ./scans-sunset.jpg ./sub ./sub/scans-checker.jpg " ] ||
  fail "-r did not keep the sub-folder: $(cd "$scratch/out" && find . | sort | tr '\n' ' ')"

cp "$test_set"/not-cam.cam "$scratch/in/sub/broken.cam"
run "$@" -q -r -o "$scratch/out" "$scratch/in"
[ "$status" -eq 1 ] || fail "a run with a non-CAM file exited with $status"
[[ "$err" == *"broken.cam' is not a CAM file"* ]] || fail "no message named broken.cam: $err"
[ ! -e "$scratch/out/broken.jpg" ] || fail "an output was left for a non-CAM file"
[ -z "$out" ] || fail "-q still printed '$out'"

run "$@" --version
[ "$status" -eq 0 ] && [[ "$out" == "glimmer-convert "* ]] || fail "--version gave $status '$out'"
run "$@" --overwrite=never "$scratch/in"
[ "$status" -eq 2 ] || fail "a usage error exited with $status"

finish
