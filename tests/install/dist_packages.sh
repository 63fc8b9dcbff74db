#!/usr/bin/env bash
# Two `make dist` runs, each into a folder of its own and so each building the Windows programs
# afresh from the source tarball: the same bytes both times; the zip holds exactly the two
# programs and the README, the programs work and carry the version; the tarball holds exactly
# the commit's files.
#   dist_packages.sh TOP SCRATCH VERSION
set -u
top=$1
scratch=$2
version=$3
name=glimmer-$version
# shellcheck source=tests/install/checks.sh
source "$(dirname "$0")/checks.sh"

empty_scratch

for run in first second; do
  if ! run_make dist DIST_DIR="$scratch/$run" >"$scratch/$run.log" 2>&1; then
    echo "FAIL: make dist ($run run) failed:"
    tail -20 "$scratch/$run.log"
    exit 1
  fi
done
packages=$(cd "$scratch/first" && LC_ALL=C ls)
[ "$packages" = "$(printf '%s\n' "$name-windows.zip" "$name.tar.gz")" ] || fail "make dist made: $packages"
for package in "$name.tar.gz" "$name-windows.zip"; do
  cmp -s "$scratch/first/$package" "$scratch/second/$package" || fail "$package differs between two runs"
done
zip=$scratch/first/$name-windows.zip

entries=$(unzip -Z1 "$zip" | LC_ALL=C sort)
[ "$entries" = "$(printf '%s\n' README.txt glimmer-convert.exe glimmer.exe)" ] ||
  fail "the zip holds: $(echo $entries)"

files=$(tar -tzf "$scratch/first/$name.tar.gz" | grep -v '/$' | LC_ALL=C sort)
commit_files=$(git -C "$top" ls-tree -r --name-only HEAD | sed "s|^|$name/|" | LC_ALL=C sort)
[ "$files" = "$commit_files" ] || fail "the tarball's files are not the commit's: $(diff <(echo "$files") <(echo "$commit_files") | head)"

mkdir -p "$scratch/unzipped" "$scratch/out"
unzip -q "$zip" -d "$scratch/unzipped"
wine_exec=$top/scripts/wine-exec
# wine-exec takes the prefix of the build tree that holds the program.
converter=$scratch/unzipped/glimmer-convert.exe
said=$("$wine_exec" "$converter" --version 2>&1 | tr -d '\r')
[ "$said" = "glimmer-convert $version" ] || fail "the zip's glimmer-convert.exe --version says '$said'"
"$wine_exec" "$converter" -q -o "$scratch/out" "$top/demo/device/My Documents/sunset.cam" >/dev/null 2>&1 ||
  fail "the zip's glimmer-convert.exe could not convert a demo file"
[ "$(djpeg -ppm "$scratch/out/sunset.jpg" 2>/dev/null | head -c 20 | sed -n 2p)" = "480 240" ] ||
  fail "the zip's glimmer-convert.exe wrote no picture for sunset.cam"

resources=$(x86_64-w64-mingw32-windres -i "$scratch/unzipped/glimmer.exe" -O rc 2>/dev/null)
grep -q "VALUE \"FileVersion\", \"$version\"" <<<"$resources" || fail "glimmer.exe's version block does not name $version"
grep -q "\"Version $version\"" <<<"$resources" || fail "glimmer.exe's About text does not name $version"

readme=$scratch/unzipped/README.txt
iconv -f UTF-8 -t UTF-8 "$readme" >/dev/null 2>&1 || fail "README.txt is not UTF-8"
[ "$(grep -c $'\r$' "$readme")" -eq "$(wc -l <"$readme")" ] || fail "README.txt has lines that do not end in CR LF"
grep -q "^Glimmer $version for Windows" "$readme" || fail "README.txt has no English heading with the version"
grep -q "^Glimmer $version Windows 版" "$readme" || fail "README.txt has no Japanese heading with the version"

finish
