# Helpers of the end-to-end run: reading the screen through the probe, real input through
# xdotool, waits with time limits, screenshots, checks and the report of a failed step.
# Sourced by run.sh, which sets prefix, locale, probe_exe, screen, scratch and shots.
# shellcheck shell=bash disable=SC2154

passed=0
failed=0

wine_env() {
  env LC_ALL="$locale" WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" "$@"
}

# One snapshot of every visible window into $screen (tab-separated records):
#   window  TITLE CLASS ENABLED CX CY
#   control TOP ID CLASS ENABLED CHECKED CX CY TEXT WIDTH HEIGHT
#   focus   TOP ID CLASS TEXT  (the control that has the keyboard)
#   row     TOP INDEX SELECTED CX CY NAME FOLDER SIZE
#   item    TOP DEPTH SELECTED EXPANDED HAS_CHILDREN CX CY TEXT
#   part    TOP INDEX TEXT
#   entry   TOP INDEX CURRENT TEXT
probe() {
  wine_env wine "$probe_exe" >"$screen.new" 2>/dev/null || true
  mv "$screen.new" "$screen"
}

# is EXPECTED COMMAND...: the command prints exactly EXPECTED (a condition for wait_for).
is() { [ "$("${@:2}")" = "$1" ]; }

has_window() { awk -F'\t' -v t="$1" '$1 == "window" && $2 == t { found = 1 } END { exit !found }' "$screen"; }
no_window() { ! has_window "$1"; }

# control_field TOP ID CLASS FIELD: a field of the first control of that ID and class.
control_field() {
  awk -F'\t' -v t="$1" -v id="$2" -v c="$3" -v f="$4" \
    '$1 == "control" && $2 == t && $3 == id && tolower($4) == tolower(c) { print $f; exit }' "$screen"
}
control_text() { control_field "$1" "$2" "$3" 9; }
control_enabled() { control_field "$1" "$2" "$3" 5; }
control_centre() { awk -F'\t' -v t="$1" -v id="$2" -v c="$3" \
  '$1 == "control" && $2 == t && $3 == id && tolower($4) == tolower(c) { print $7, $8; exit }' "$screen"; }
control_height() { control_field "$1" "$2" "$3" 11; }
# The focused control of a window: its class and text.
focused() { awk -F'\t' -v t="$1" '$1 == "focus" && $2 == t { print $4 " " $5; exit }' "$screen"; }
# The text of a box: its static texts that are not empty, joined.
box_text() { awk -F'\t' -v t="$1" '$1 == "control" && $2 == t && $4 == "Static" && $9 != "" { print $9 }' "$screen"; }
box_says() { has_window "$1" && box_text "$1" | grep -qxF -- "$2"; }

rows() { awk -F'\t' '$1 == "row" && $2 == "Glimmer" { print $7 "\t" $8 "\t" $9 }' "$screen"; }
row_count() { rows | wc -l; }
row_centre() { awk -F'\t' -v i="$1" '$1 == "row" && $2 == "Glimmer" && $3 == i { print $5, $6; exit }' "$screen"; }
row_name() { awk -F'\t' -v i="$1" '$1 == "row" && $2 == "Glimmer" && $3 == i { print $7; exit }' "$screen"; }
selected_rows() { awk -F'\t' '$1 == "row" && $2 == "Glimmer" && $4 == 1 { print $3 }' "$screen" | tr '\n' ' '; }
status_part() { awk -F'\t' -v i="$1" '$1 == "part" && $2 == "Glimmer" && $3 == i { print $4; exit }' "$screen"; }
combo_entries() { awk -F'\t' '$1 == "entry" && $2 == "Glimmer" { print ($4 == 1 ? "*" : "") $5 }' "$screen"; }
combo_current() { awk -F'\t' '$1 == "entry" && $2 == "Glimmer" && $4 == 1 { print $5; exit }' "$screen"; }
tree_items() { awk -F'\t' -v t="$1" '$1 == "item" && $2 == t { print $3 "\t" $9 }' "$screen"; }
tree_item_field() { awk -F'\t' -v t="$1" -v x="$2" -v f="$3" '$1 == "item" && $2 == t && $9 == x { print $f; exit }' "$screen"; }
tree_item_centre() { awk -F'\t' -v t="$1" -v x="$2" '$1 == "item" && $2 == t && $9 == x && $7 != "-" { print $7, $8; exit }' "$screen"; }

# What was on screen, for a failed step: the X windows, the probe's records, a screenshot.
report_screen() {
  local picture=$scratch/failure-$((failed + 1)).png
  echo "---- X windows on screen:"
  xdotool search --onlyvisible --name '.' 2>/dev/null | while read -r id; do
    echo "  $id '$(xdotool getwindowname "$id" 2>/dev/null)'"
  done
  echo "---- windows as the program shows them:"
  probe
  sed 's/^/  /' "$screen"
  import -window root "$picture" 2>/dev/null && echo "---- screenshot: $picture"
}

pass() { passed=$((passed + 1)); echo "ok: $*"; }
fail() {
  failed=$((failed + 1))
  echo "FAIL: $*"
  report_screen
}
# check DESCRIPTION COMMAND...: one verdict, the run goes on either way.
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
# expect_eq DESCRIPTION EXPECTED ACTUAL
expect_eq() {
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: expected '$2', got '$3'"; fi
}
# A step that later steps build on: without it the run cannot go on.
abort() {
  fail "$*"
  echo "end-to-end: $passed passed, $failed failed (stopped early)"
  exit 1
}

# wait_for DESCRIPTION SECONDS COMMAND...: probes until COMMAND succeeds on a fresh snapshot.
wait_for() {
  local what=$1 limit=$2
  shift 2
  local end=$((SECONDS + limit))
  while :; do
    probe
    "$@" && return 0
    if [ "$SECONDS" -ge "$end" ]; then
      echo "timed out after ${limit}s waiting for $what"
      return 1
    fi
    sleep 0.2
  done
}
must_wait_for() { wait_for "$@" || abort "$1"; }

click_at() { xdotool mousemove --sync "$1" "$2" click 1; }
# click_control TOP ID CLASS: a left click in the middle of the control.
click_control() {
  local at
  at=$(control_centre "$1" "$2" "$3")
  [ -n "$at" ] || abort "no control $2 ($3) in '$1' to click"
  # shellcheck disable=SC2086
  click_at $at
}
click_item() {
  local at
  at=$(tree_item_centre "$1" "$2")
  [ -n "$at" ] || abort "no tree item '$2' in '$1' to click"
  # shellcheck disable=SC2086
  click_at $at
}
click_row() {
  local at
  at=$(row_centre "$1")
  [ -n "$at" ] || abort "no row $1 to click"
  # shellcheck disable=SC2086
  click_at $at
}

# keys_to TITLE KEY...: brings the window forward (through the window manager) and types.
keys_to() {
  local title=$1 id
  shift
  id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | tail -1)
  [ -n "$id" ] || abort "no window '$title' for the keys $*"
  timeout 10 xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
  xdotool key --clearmodifiers --delay 80 "$@"
}

# Keys to whatever has the keyboard, such as an open menu.
type_keys() { xdotool key --delay 80 "$@"; }

# frame_rect X_WINDOW: LEFT TOP RIGHT BOTTOM of the window with its frame, on the screen.
frame_rect() {
  local info extents x y w h l r t b
  info=$(xwininfo -id "$1")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/.*Width: *//p' <<<"$info")
  h=$(sed -n 's/.*Height: *//p' <<<"$info")
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
  IFS=, read -r l r t b <<<"${extents:-0,0,0,0}"
  echo "$((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))"
}

# shot NAME [TITLE...]: the main window with its frame, and the windows of those titles (a box
# that stands beside it), cut out of the screen together.
shot() {
  local name=$1 title id ids=() rects
  id=$(xdotool search --onlyvisible --name '^Glimmer$' 2>/dev/null | head -1)
  if [ -z "$id" ]; then
    import -window root "$shots/$name.png"
    return
  fi
  ids+=("$id")
  for title in "${@:2}"; do
    id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
    [ -z "$id" ] || ids+=("$id")
  done
  rects=$(for id in "${ids[@]}"; do frame_rect "$id"; done |
    awk 'NR == 1 || $1 < l { l = $1 } NR == 1 || $2 < t { t = $2 }
         NR == 1 || $3 > r { r = $3 } NR == 1 || $4 > b { b = $4 }
         END { print (r - l) "x" (b - t) "+" l "+" t }')
  import -window root -crop "$rects" +repage "$shots/$name.png"
}

# Byte counts as the program should show them, by Python's own "{:,}" grouping: an oracle
# apart from the program's rule, which the test must not copy.
comma_grouped() { python3 -c 'import sys; print("{:,}".format(int(sys.argv[1])))' "$1"; }

# same_picture JPEG EXPECTED_PPM: the JPEG decodes to exactly these pixels.
same_picture() {
  djpeg -ppm "$1" >"$scratch/decoded.ppm" 2>/dev/null && cmp -s "$scratch/decoded.ppm" "$2"
}
