#!/usr/bin/env bash
# The include check fails, naming the include, on each kind of break it is there to catch, and
# passes a tree that keeps the rules.
#   check_includes_test.sh CHECK_INCLUDES SCRATCH
set -uo pipefail
check=$1
scratch=$2
failures=0

# tree NAME FILE=LINE...: a source tree of one-line files under the scratch folder.
tree() {
  local dir=$scratch/$1
  shift
  rm -rf "$dir"
  for file_line in "$@"; do
    mkdir -p "$dir/$(dirname "${file_line%%=*}")"
    printf '%s\n' "${file_line#*=}" > "$dir/${file_line%%=*}"
  done
  echo "$dir"
}

# expect_break NAME EXPECTED-TEXT FILE=LINE...
expect_break() {
  local name=$1 expected=$2
  shift 2
  local dir output
  dir=$(tree "$name" "$@")
  if output=$("$check" "$dir" 2>&1); then
    echo "FAIL $name: the check passed"; failures=$((failures + 1))
  elif [[ $output != *"$expected"* ]]; then
    echo "FAIL $name: no line holds: $expected"; echo "$output"; failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

expect_break engine-includes-windows 'conversion/cam_reader.cpp:1: #include <windows.h>' \
  'conversion/cam_reader.cpp=#include <windows.h>'
expect_break engine-includes-a-posix-header 'conversion/cam_reader.cpp:1: #include <unistd.h>' \
  'conversion/cam_reader.cpp=#include <unistd.h>'
expect_break engine-includes-the-window-side 'conversion/x.h:1: #include "conversion/win32/y.h"' \
  'conversion/x.h=#include "conversion/win32/y.h"' 'conversion/win32/y.h=// y'
expect_break platform-includes-framework 'platform/bar.cpp:1: #include "framework/view.h"' \
  'platform/bar.cpp=#include "framework/view.h"' 'framework/view.h=// view'
expect_break framework-includes-the-program 'framework/controls/a.cpp:1: #include "filelist/b.h"' \
  'framework/controls/a.cpp=#include "filelist/b.h"' 'filelist/b.h=// b'
expect_break cli-includes-framework 'cli/run.cpp:1: #include "framework/window.h"' \
  'cli/run.cpp=#include "framework/window.h"' 'framework/window.h=// window'
expect_break web-includes-windows 'web/engine.cpp:1: #include <commctrl.h>' \
  'web/engine.cpp=#include <commctrl.h>'
expect_break unknown-folder 'gadgets/' 'gadgets/thing.cpp=// thing'
expect_break folders-include-each-other 'folders include each other: app/ -> dialogs/ -> app/' \
  'app/main.cpp=#include "dialogs/browser.h"' 'dialogs/browser.h=#include "app/main.h"'

dir=$(tree keeps-the-rules 'conversion/a.cpp=#include <cstdio>' 'cli/b.cpp=#include "conversion/a.h"' \
  'app/c.cpp=#include "framework/d.h"' 'framework/d.h=#include <windows.h>')
if output=$("$check" "$dir" 2>&1); then
  echo "ok   keeps-the-rules"
else
  echo "FAIL keeps-the-rules: $output"; failures=$((failures + 1))
fi
exit $((failures > 0))
