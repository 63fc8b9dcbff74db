#!/usr/bin/env bash
# Each make target installs only what it needs: the packages scripts/setup lists for each part,
# and the part each target of the Makefile asks for (read from make's dry run).
#   setup_parts.sh SOURCE_DIR
set -u
top=$1
# shellcheck source=tests/support/checks.sh
source "$(dirname "$0")/../support/checks.sh"

list() { "$top/scripts/setup" --list "$@" | sort; }

# converter: a compiler, CMake and Python 3 for the table of texts, nothing else.
converter=$(list converter)
[ "$(echo $converter)" = "cmake g++ make ninja-build python3" ] || fail "converter installs: $(echo $converter)"

# What a part must not bring along: Wine and the cross compiler, Emscripten, the browser.
refuse() {
  local part=$1 packages
  shift
  packages=$(list "$part")
  [ -n "$packages" ] || fail "$part lists no package"
  for word in "$@"; do
    grep -qx -- "$word" <<<"$packages" && fail "$part installs $word"
  done
}
refuse converter wine wine64 g++-mingw-w64-x86-64 emscripten chromium python3-selenium googletest
refuse native wine wine64 g++-mingw-w64-x86-64 emscripten chromium chromium-driver python3-selenium
refuse run emscripten chromium chromium-driver python3-selenium xdotool openbox
refuse web wine wine64 g++-mingw-w64-x86-64 chromium g++
refuse windows emscripten chromium chromium-driver python3-selenium
refuse dist wine wine64 emscripten chromium

# all is every part together.
every=$(for part in converter run native windows web web-test install dist; do list $part; done | sort -u)
[ "$(list all)" = "$every" ] || fail "all is not the union of the parts"
"$top/scripts/setup" --list nonsense >/dev/null 2>&1 && fail "an unknown part was accepted"

# The part each target asks for, from make's dry run (nothing runs).
asks() {
  local target=$1 display=$2
  env DISPLAY="$display" make -s -n -C "$top" "$target" 2>/dev/null | grep -o 'scripts/setup [a-z -]*' | sed 's/ *$//' | sort -u | tr '\n' ','
}
[ "$(asks run '')" = "scripts/setup converter," ] || fail "make run without a display asks for: $(asks run '')"
[ "$(asks run :99)" = "scripts/setup run," ] || fail "make run on a display asks for: $(asks run :99)"
[ "$(asks native '')" = "scripts/setup native," ] || fail "make native asks for: $(asks native '')"
[ "$(asks web '')" = "scripts/setup web," ] || fail "make web asks for: $(asks web '')"
[ "$(asks test-web '')" = "scripts/setup native,scripts/setup web,scripts/setup web-test," ] ||
  fail "make test-web asks for: $(asks test-web '')"
[ "$(asks test '')" = "scripts/setup native,scripts/setup web,scripts/setup web-test,scripts/setup windows," ] ||
  fail "make test asks for: $(asks test '')"

finish
