#!/usr/bin/env bash
# Drives the real glimmer.exe, started by scripts/glimmer, with real mouse and key events
# (xdotool) on a private X server with a window manager, and checks what it shows and writes.
#   run.sh LAUNCHER GLIMMER_EXE PROBE_EXE TEST_CAMS SCRATCH [SCREENSHOT_DIR]
# The probe only reads the windows (texts, rows, tree items, positions); every action is input.
set -u

if [ -z "${GLIMMER_E2E_X:-}" ]; then
  export GLIMMER_E2E_X=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

launcher=$1
exe=$2
probe_exe=$3
cams=$4
scratch=$5
shots=${6:-$scratch/screenshots}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/desktop.sh
source "$here/desktop.sh"
# The words the window shows, from the catalogue of texts: text IDENTIFIER LANGUAGE [ARGUMENT...]
# gives the text's form with its "%s" and "%d" filled in.
catalogue=$(python3 "$here/../../scripts/text_catalogue.py" shell) || abort "the catalogue of texts did not load"
eval "$catalogue"
text() {
  local -n forms=TEXTS_$2
  # shellcheck disable=SC2059 # the catalogue's form is the format
  printf -- "${forms[$1]}" "${@:3}"
}

mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)
screen=$scratch/screen.txt
# The launcher makes one Wine prefix per language from this base; start_glimmer picks one.
prefix_base=$(dirname "$scratch")/wineprefix
prefix=
locale=
device=$scratch/device
# One name with an underscore, which some fonts leave out.
pictures=(sunset rings checker_board bands)

# start_glimmer LOG_NAME LANGUAGE LAUNCHER_OPTION...   (GLIMMER_BASE: another prefix base)
start_glimmer() {
  local log=$scratch/launcher-$1.log base=${GLIMMER_BASE:-$prefix_base}
  prefix=$base-$2
  # The probe runs under the program's locale: Wine picks the system fonts by the locale's
  # code page, and one Wine process under another would also reset the prefix's fonts.
  case $2 in ja) locale=ja_JP.UTF-8 ;; *) locale=en_US.UTF-8 ;; esac
  shift
  GLIMMER_WINEPREFIX=$base "$launcher" --exe "$exe" --lang "$@" >"$log" 2>&1 &
  glimmer_pid=$!
  # The first start also makes the Wine prefix; the probe must not start Wine in it before.
  local end=$((SECONDS + 300))
  while [ ! -f "$prefix/.glimmer-ready" ] && kill -0 "$glimmer_pid" 2>/dev/null && [ "$SECONDS" -lt "$end" ]; do
    sleep 0.5
  done
  [ -f "$prefix/.glimmer-ready" ] || abort "the launcher made no Wine prefix: $(cat "$log")"
  # The window is on screen a moment before its controls are; Browse is made last.
  must_wait_for "Glimmer's main window and its Browse button" 60 is 1 control_enabled Glimmer 105 Button
}

# The launcher must end by itself once the window is closed, and call that a success.
expect_launcher_end() {
  local status end=$((SECONDS + 30))
  while kill -0 "$glimmer_pid" 2>/dev/null && [ "$SECONDS" -lt "$end" ]; do sleep 0.2; done
  if kill -0 "$glimmer_pid" 2>/dev/null; then
    fail "$1: the launcher still runs 30 s after the window was closed"
    return
  fi
  wait "$glimmer_pid"
  status=$?
  expect_eq "$1: the launcher reports success for Glimmer's exit code 1" 0 "$status"
  check "$1: the launcher printed no error" eval "! grep -v 'preparing the Wine prefix' '$scratch/launcher-$2.log' | grep -q ."
}

# find_folder BROWSE_TITLE FOLDER: Find, pick FOLDER (a child of the root) in the tree, OK.
find_folder() {
  click_control Glimmer 101 Button
  must_wait_for "the folder browser" 20 has_window "$1"
  click_item "$1" "$2"
  must_wait_for "'$2' selected" 10 is 1 tree_item_field "$1" "$2" 4
  click_control "$1" 1 Button
  must_wait_for "the folder browser to close" 20 no_window "$1"
}

# answer_box TITLE TEXT HOW [SHOT]: waits for the box with that text and answers it.
answer_box() {
  must_wait_for "'$1' saying '$2'" 30 box_says "$1" "$2"
  pass "'$1' says '$2'"
  [ -z "${4:-}" ] || shot "$4" "$1"
  case $3 in
    key:*) keys_to "$1" "${3#key:}" ;;
    click:*) click_control "$1" "${3#click:}" Button ;;
  esac
  must_wait_for "'$1' with '$2' to close" 20 box_gone "$1" "$2"
}

# browse_to FOLDER: Browse, pick FOLDER (a child of the root) as the output folder.
browse_to() {
  click_control Glimmer 105 Button
  must_wait_for "the folder browser" 20 has_window "$browse_title"
  click_item "$browse_title" "$1"
  must_wait_for "'$1' selected" 10 is 1 tree_item_field "$browse_title" "$1" 4
  keys_to "$browse_title" Return
  must_wait_for "the folder browser to close" 20 no_window "$browse_title"
}

# No box comes up within a few probes after a run's end.
no_box_follows() {
  local _
  for _ in 1 2 3 4 5; do
    probe
    if has_window "$(text MessageTitle en)" || has_window "$(text FatalTitle en)"; then return 1; fi
    sleep 0.2
  done
}

expected_rows() {
  local folder
  for picture in "${pictures[@]}"; do
    case $picture in sunset | rings) folder='\DCIM' ;; *) folder='\DCIM\Trip' ;; esac
    file=$(find "$device/DCIM" -maxdepth 2 -name "$picture.cam" -not -path '*RECYCLED*')
    printf '%s.cam\t%s\t%s\n' "$picture" "$folder" "$(comma_grouped "$(stat -c %s "$file")")"
  done | sort
}

total_bytes() {
  local total=0 picture
  for picture in "${pictures[@]}"; do
    total=$((total + $(stat -c %s "$(find "$device/DCIM" -maxdepth 2 -name "$picture.cam" -not -path '*RECYCLED*')")))
  done
  echo "$total"
}

drive_folder_without_last_backslash() { [[ $1 == [A-Za-z]:\\* && $1 != *\\ ]]; }

box_gone() { ! box_says "$1" "$2"; }

# all_decode_as FOLDER PATTERN PICTURE: every file there that matches decodes to PICTURE.
all_decode_as() {
  local jpeg
  for jpeg in "$1"/$2; do
    [ -e "$jpeg" ] || continue
    if ! same_picture "$jpeg" "$scratch/expected/$3.ppm"; then
      echo "  $jpeg does not decode to the pixels of $3"
      return 1
    fi
  done
}

outputs_decode() {
  local folder=$1 picture
  shift
  for picture in "$@"; do
    if ! same_picture "$folder/$picture.jpg" "$scratch/expected/$picture.ppm"; then
      echo "  $folder/$picture.jpg is missing or does not decode to the pixels of $picture"
      return 1
    fi
  done
}

# drawn_as BACKSLASH FATAL MESSAGE FINISHED (box titles and end notice of the language):
# Glimmer's own list, status bar and box draw "\" as BACKSLASH
# ("backslash" or "yen") and show the underscore, as read from the screen's pixels: Find lists
# \Fonts\mark_one.cam; the file goes before Convert All, whose box names it while the status
# bar shows it. The names have no descenders, so an underscore is the only ink below the line.
drawn_on_screen() {
  wine_env wine "$probe_exe" drawn "$1" 2>/dev/null |
    awk -F'\t' '$1 == "drawn" { print $2 ":" $3 "," $4 }' | tr '\n' ' '
}

drawn_as() {
  local drawn
  find_folder "$browse_title" Fonts
  must_wait_for "mark_one.cam in the list" 30 is 1 row_count
  rm "$device/Fonts/mark_one.cam"
  click_control Glimmer 103 Button
  must_wait_for "the box that names the missing file" 30 has_window "$2"
  # A window that has just come up may not be painted yet.
  local fatal=$2
  wait_for "the box and the window painted" 10 eval 'drawn=$(drawn_on_screen "$fatal"); [[ $drawn == *message:* && $drawn != *unread* ]]'
  expect_eq "Glimmer's list, status bar and box draw '\\' as $1 and show '_'" \
    "list:$1,drawn status:$1,drawn message:$1,drawn " "$drawn"
  keys_to "$2" Return
  answer_box "$3" "$4" key:Return
  cp "$cams/scans-sunset.cam" "$device/Fonts/mark_one.cam"
}

selected_depth() { awk -F'\t' -v t="$1" '$1 == "item" && $2 == t && $4 == 1 { print $3; exit }' "$screen"; }

english_run() {
  browse_title=$(text BrowseFolderTitle en)
  start_glimmer en en --device "$device"
  expect_eq "the focus starts on the list" "SysListView32 " "$(focused Glimmer)"
  expect_eq "at start Convert is disabled" 0 "$(control_enabled Glimmer 102 Button)"
  expect_eq "at start Convert All is disabled" 0 "$(control_enabled Glimmer 103 Button)"
  expect_eq "at start Stop is disabled" 0 "$(control_enabled Glimmer 104 Button)"
  expect_eq "at start Sub Folder is checked" 1 "$(control_field Glimmer 0 Button 6)"
  local temp_folder temp_unix
  temp_folder=$(combo_current)
  check "the output folder starts as the temporary-files folder without a last backslash ($temp_folder)" \
    drive_folder_without_last_backslash "$temp_folder"
  temp_unix=$(wine_env winepath -u "$temp_folder" 2>/dev/null)
  temp_unix=${temp_unix%/}
  [ -d "$temp_unix" ] || abort "the temporary-files folder '$temp_folder' is not at '$temp_unix'"
  for picture in "${pictures[@]}"; do rm -f "$temp_unix/$picture.jpg"; done
  shot en-start

  # Help > About by keys: the box names the program and its version, Escape closes it.
  keys_to Glimmer alt+h
  must_wait_for "the Help menu" 10 has_window menu
  type_keys a
  must_wait_for "the About box" 20 has_window "$(text AboutTitle en)"
  check "the About box shows the version" eval 'box_text "$(text AboutTitle en)" | grep -q "^Version [0-9]"'
  shot en-about
  keys_to "$(text AboutTitle en)" Escape
  must_wait_for "the About box to close" 20 no_window "$(text AboutTitle en)"

  # 1. Find: the folder browser shows the device's folders, never RECYCLED nor files.
  click_control Glimmer 101 Button
  must_wait_for "the folder browser" 20 has_window "$(text BrowseFolderTitle en)"
  keys_to "$(text BrowseFolderTitle en)" Down
  wait_for "a folder selected by the Down key" 10 is 1 selected_depth "$(text BrowseFolderTitle en)"
  expect_eq "the tree has the keys at once: Down selects the first folder" 1 "$(selected_depth "$(text BrowseFolderTitle en)")"
  expect_eq "the tree's root is the device" "$(text HandheldDeviceName en)" "$(tree_items "$(text BrowseFolderTitle en)" | awk -F'\t' '$1 == 0 { print $2 }')"
  expect_eq "the root's folders (expanded, nothing below shown)" "Bulk DCIM Fonts Locked out out-ja" \
    "$(tree_items "$(text BrowseFolderTitle en)" | awk -F'\t' '$1 == 1 { print $2 }' | sort | tr '\n' ' ' | sed 's/ $//')"
  click_item "$(text BrowseFolderTitle en)" DCIM
  must_wait_for "DCIM selected" 10 is 1 tree_item_field "$(text BrowseFolderTitle en)" DCIM 4
  keys_to "$(text BrowseFolderTitle en)" Right
  must_wait_for "DCIM expanded by the Right key" 10 is 1 tree_item_field "$(text BrowseFolderTitle en)" DCIM 5
  expect_eq "DCIM shows its sub-folder, never RECYCLED" "Trip" \
    "$(tree_items "$(text BrowseFolderTitle en)" | awk -F'\t' '$1 == 2 { print $2 }' | tr '\n' ' ' | sed 's/ $//')"
  shot en-browse
  click_control "$(text BrowseFolderTitle en)" 1 Button
  must_wait_for "the four CAM files in the list" 30 is 4 row_count
  expect_eq "the list shows name, folder and size of each CAM file" "$(expected_rows)" "$(rows | sort)"
  expect_eq "the status bar counts the files" "$(text FileCountOther en 4)" "$(status_part 0)"
  expect_eq "the status bar shows the total size" "$(comma_grouped "$(total_bytes)") $(text ByteUnitOther en)" "$(status_part 1)"
  expect_eq "Convert is enabled once the list has rows" 1 "$(control_enabled Glimmer 102 Button)"
  shot en-found

  # 2. Convert All into the temporary-files folder: every output decodes to the source pixels.
  click_control Glimmer 103 Button
  answer_box "$(text MessageTitle en)" "$(text RunFinished en)" key:Return en-finished
  check "Convert All wrote every JPEG with the pictures' pixels" outputs_decode "$temp_unix" "${pictures[@]}"
  wait_for "the idle controls after the run" 10 is 0 control_enabled Glimmer 104 Button
  expect_eq "the status bar shows the count again after the run" "$(text FileCountOther en 4)" "$(status_part 0)"

  # 3. Convert All again: the overwrite question for each file, saying that Cancel stops the
  #    run; No, Yes, then Cancel, which ends the run before the last file is asked about.
  local order=() i
  for i in 0 1 2 3; do order+=("$(row_name $i)"); order[i]=${order[i]%.cam}; done
  for picture in "${pictures[@]}"; do echo "stale $picture" >"$temp_unix/$picture.jpg"; done
  click_control Glimmer 103 Button
  local answers=(key:n click:6 key:Escape)
  for i in 0 1 2; do
    answer_box "$(text InquiryTitle en)" \
      "$(text ReplaceQuestion en "$temp_folder\\${order[i]}.jpg")  $(text CancelStopsTheRunAtQuestion en)" \
      "${answers[i]}" "$([ "$i" = 0 ] && echo en-inquiry)"
  done
  answer_box "$(text MessageTitle en)" "$(text RunAborted en)" key:Return
  expect_eq "No kept the existing ${order[0]}.jpg" "stale ${order[0]}" "$(cat "$temp_unix/${order[0]}.jpg")"
  check "Yes replaced ${order[1]}.jpg" outputs_decode "$temp_unix" "${order[1]}"
  expect_eq "Cancel kept ${order[2]}.jpg" "stale ${order[2]}" "$(cat "$temp_unix/${order[2]}.jpg")"
  expect_eq "Cancel stopped the run before ${order[3]}.jpg" "stale ${order[3]}" "$(cat "$temp_unix/${order[3]}.jpg")"

  # 4. Browse adds \out; Convert from the File menu writes the selected rows there only.
  click_control Glimmer 105 Button
  must_wait_for "the folder browser" 20 has_window "$(text BrowseFolderTitle en)"
  click_item "$(text BrowseFolderTitle en)" out
  must_wait_for "out selected" 10 is 1 tree_item_field "$(text BrowseFolderTitle en)" out 4
  keys_to "$(text BrowseFolderTitle en)" Return
  must_wait_for "the folder browser to close" 20 no_window "$(text BrowseFolderTitle en)"
  expect_eq "Browse added the folder and selected it" "$temp_folder *\\out" "$(combo_entries | tr '\n' ' ' | sed 's/ $//')"
  click_row 0
  # shellcheck disable=SC2046
  xdotool keydown ctrl mousemove --sync $(row_centre 2) click 1 keyup ctrl
  must_wait_for "rows 0 and 2 selected" 10 is "0 2 " selected_rows
  keys_to Glimmer alt+f
  must_wait_for "the File menu" 10 has_window menu
  shot en-menu
  type_keys c
  answer_box "$(text MessageTitle en)" "$(text RunFinished en)" key:Return
  expect_eq "Convert wrote the two selected files, and only them, into \\out" \
    "${order[0]}.jpg ${order[2]}.jpg" "$(find "$device/out" -type f -printf '%f\n' | sort | tr '\n' ' ' | sed 's/ $//')"
  check "the selected files' JPEGs decode to their pixels" outputs_decode "$device/out" "${order[0]}" "${order[2]}"

  # Convert of a selection ends at a Cancel: the second selected file is not even asked for.
  click_control Glimmer 102 Button
  answer_box "$(text InquiryTitle en)" "$(text ReplaceQuestion en "\\out\\${order[0]}.jpg")" key:Escape
  must_wait_for "the end of the run or a further question" 20 eval 'has_window "$(text MessageTitle en)" || has_window "$(text InquiryTitle en)"'
  check "Cancel ended the run of the selection without asking for ${order[2]}.jpg" no_window "$(text InquiryTitle en)"
  answer_box "$(text MessageTitle en)" "$(text RunFinished en)" key:Return

  # 5. Stop during a long run: Convert All, then Stop at once; the run ends as aborted.
  find_folder "$(text BrowseFolderTitle en)" Bulk
  must_wait_for "the $bulk files of Bulk in the list" 30 is "$bulk" row_count
  expect_eq "the status bar counts $bulk files" "$(text FileCountOther en "$bulk")" "$(status_part 0)"
  local all stop
  all=$(control_centre Glimmer 103 Button)
  stop=$(control_centre Glimmer 104 Button)
  # shellcheck disable=SC2086
  xdotool mousemove --sync $all click 1 mousemove --sync $stop click 1
  answer_box "$(text MessageTitle en)" "$(text RunAborted en)" key:Return
  local written
  written=$(find "$device/out" -name 'pic*.jpg' | wc -l)
  check "Stop ended the run early, with files written and files left ($written of $bulk)" \
    test "$written" -ge 1 -a "$written" -lt "$bulk"
  check "every file that was started was finished ($written of them)" all_decode_as "$device/out" 'pic*.jpg' sunset
  wait_for "the idle controls after Stop" 10 is 1 control_enabled Glimmer 103 Button
  expect_eq "Stop is disabled again" 0 "$(control_enabled Glimmer 104 Button)"
  expect_eq "the button that started the run has the focus again" "Button $(text ConvertAllCommand en)" "$(focused Glimmer)"
  shot en-dpi96

  # The same by keyboard alone: Alt+A starts the run, Stop has the focus, Space presses it.
  local kept
  kept=$(find "$device/out" -name 'pic*.jpg' | sort)
  rm -f "$device"/out/pic*.jpg
  keys_to Glimmer alt+a
  type_keys space
  answer_box "$(text MessageTitle en)" "$(text RunAborted en)" key:Return
  written=$(find "$device/out" -name 'pic*.jpg' | wc -l)
  check "Space on Stop ended the keyboard's run early ($written of $bulk files written)" \
    test "$written" -ge 1 -a "$written" -lt "$bulk"
  check "every file the keyboard's run started was finished" all_decode_as "$device/out" 'pic*.jpg' sunset
  [ -n "$kept" ] || abort "the runs wrote nothing into \\out"

  # 6. A run that cannot write: Convert All into a read-only folder ends with one box, one key.
  local first
  first=$(row_name 0)
  first=${first%.cam}
  browse_to Locked
  click_control Glimmer 103 Button
  answer_box "$(text FatalTitle en)" "$(text CannotCreateJpg en) \\Locked\\$first.jpg  $(text OutputFolderUnwritable en '\Locked' "$bulk")" key:Return en-run-ended
  wait_for "the idle controls after the ended run" 10 is 1 control_enabled Glimmer 103 Button
  check "no further box after the one that ended the run" no_box_follows
  expect_eq "nothing was written into the read-only folder" "" "$(ls -A "$device/Locked")"

  # A run whose source folder vanishes: the card is taken out while the first file's question
  # is up. Yes, and the box that ends the run: two keys.
  browse_to out
  [ -f "$device/out/$first.jpg" ] || cp "$device/Bulk/$first.cam" "$device/out/$first.jpg"
  click_control Glimmer 103 Button
  must_wait_for "the question for $first.jpg" 30 box_says "$(text InquiryTitle en)" \
    "$(text ReplaceQuestion en "\\out\\$first.jpg")  $(text CancelStopsTheRunAtQuestion en)"
  mv "$device/Bulk" "$device/Bulk-taken"
  keys_to "$(text InquiryTitle en)" y
  answer_box "$(text FatalTitle en)" "$(text CannotOpenCam en) \\Bulk\\$first.cam  $(text SourceFoldersGone en '\Bulk' "$bulk")" key:Return
  wait_for "the idle controls after the vanished folder" 10 is 1 control_enabled Glimmer 103 Button
  check "no further box after the one that ended the run" no_box_follows
  mv "$device/Bulk-taken" "$device/Bulk"

  drawn_as backslash "$(text FatalTitle en)" "$(text MessageTitle en)" "$(text RunFinished en)"

  # Exit from the File menu closes the program; the launcher reports no failure.
  keys_to Glimmer alt+f
  must_wait_for "the File menu" 10 has_window menu
  type_keys x
  expect_launcher_end "English run" en
}

# 6. The same work in Japanese: every text of the window, the browser and the boxes.
japanese_run() {
  browse_title=$(text BrowseFolderTitle ja)
  start_glimmer ja ja --device "$device"
  expect_eq "Japanese Find button" "$(text FindCommand ja)" "$(control_text Glimmer 101 Button)"
  expect_eq "Japanese Convert button" "$(text ConvertCommand ja)" "$(control_text Glimmer 102 Button)"
  expect_eq "Japanese Convert All button" "$(text ConvertAllCommand ja)" "$(control_text Glimmer 103 Button)"
  expect_eq "Japanese Stop button" "$(text StopCommand ja)" "$(control_text Glimmer 104 Button)"
  expect_eq "Japanese Browse button" "$(text BrowseCommand ja)" "$(control_text Glimmer 105 Button)"
  expect_eq "Japanese Sub Folder box" "$(text SubFolderOption ja)" "$(control_text Glimmer 0 Button)"
  expect_eq "Japanese Output Folder label" "$(text OutputFolderLabel ja)" "$(control_text Glimmer 0 Static)"

  click_control Glimmer 101 Button
  must_wait_for "the Japanese folder browser" 20 has_window "$(text BrowseFolderTitle ja)"
  expect_eq "the Japanese name of the device" "$(text HandheldDeviceName ja)" "$(tree_items "$(text BrowseFolderTitle ja)" | awk -F'\t' '$1 == 0 { print $2 }')"
  click_item "$(text BrowseFolderTitle ja)" DCIM
  must_wait_for "DCIM selected" 10 is 1 tree_item_field "$(text BrowseFolderTitle ja)" DCIM 4
  shot ja-browse
  click_control "$(text BrowseFolderTitle ja)" 1 Button
  must_wait_for "the four CAM files in the list" 30 is 4 row_count
  expect_eq "the Japanese file count" "$(text FileCountOther ja 4)" "$(status_part 0)"
  expect_eq "the Japanese total size" "$(comma_grouped "$(total_bytes)") $(text ByteUnitOther ja)" "$(status_part 1)"
  shot ja-found

  click_control Glimmer 105 Button
  must_wait_for "the Japanese folder browser" 20 has_window "$(text BrowseFolderTitle ja)"
  click_item "$(text BrowseFolderTitle ja)" out-ja
  must_wait_for "out-ja selected" 10 is 1 tree_item_field "$(text BrowseFolderTitle ja)" out-ja 4
  keys_to "$(text BrowseFolderTitle ja)" Return
  must_wait_for "the folder browser to close" 20 no_window "$(text BrowseFolderTitle ja)"
  click_control Glimmer 103 Button
  answer_box "$(text MessageTitle ja)" "$(text RunFinished ja)" key:Return ja-finished
  check "the Japanese run wrote every JPEG with the pictures' pixels" outputs_decode "$device/out-ja" "${pictures[@]}"

  # Again: the Japanese overwrite question, which says that Cancel stops the run; one Cancel
  # ends it and nothing is replaced.
  local before name
  before=$(md5sum "$device"/out-ja/*.jpg)
  click_control Glimmer 103 Button
  name=$(row_name 0)
  answer_box "$(text InquiryTitle ja)" \
    "$(text ReplaceQuestion ja "\\out-ja\\${name%.cam}.jpg")  $(text CancelStopsTheRunAtQuestion ja)" \
    key:Escape ja-inquiry
  answer_box "$(text MessageTitle ja)" "$(text RunAborted ja)" key:Return
  expect_eq "Cancel left every Japanese output as it was" "$before" "$(md5sum "$device"/out-ja/*.jpg)"

  # The About box in Japanese: its template's font, Tahoma, is a Latin face here as on Japanese
  # Windows, whose spaces stand between the words of its English lines.
  expect_eq "Tahoma, the About box's font, is drawn with the Latin sans serif" \
    "$(fc-match -f '%{family[0]}' 'Liberation Sans')" \
    "$(wine_env wine "$probe_exe" face Tahoma 2>/dev/null | awk -F'\t' '$1 == "face" { print $3 }')"
  keys_to Glimmer alt+h
  must_wait_for "the Help menu" 10 has_window menu
  type_keys a
  must_wait_for "the Japanese About box" 20 has_window "$(text AboutTitle ja)"
  shot ja-about "$(text AboutTitle ja)"
  keys_to "$(text AboutTitle ja)" Escape
  must_wait_for "the About box to close" 20 no_window "$(text AboutTitle ja)"

  drawn_as yen "$(text FatalTitle ja)" "$(text MessageTitle ja)" "$(text RunFinished ja)"

  # The window manager's close (Alt+F4) ends the program as the close box does.
  keys_to Glimmer alt+F4
  expect_launcher_end "Japanese run" ja
}

# 7. The window at 120 and 144 DPI, in a copy of the English prefix whose registry says so: the
# controls grow with the DPI and the total of the 240 files stands whole in the status bar.
dpi_run() {
  local dpi=$1 base=$prefix_base-dpi$1 height
  rm -rf "$base-en"
  # Hard links, but for the registry files, which Wine rewrites in place.
  cp -al "$prefix_base-en" "$base-en"
  for reg in "$base-en"/*.reg; do cp --remove-destination "$prefix_base-en/${reg##*/}" "$reg"; done
  prefix=$base-en
  locale=en_US.UTF-8
  wine_env wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w
  GLIMMER_BASE=$base start_glimmer "dpi$dpi" en --device "$device"
  browse_title=$(text BrowseFolderTitle en)
  find_folder "$browse_title" Bulk
  must_wait_for "the $bulk files of Bulk in the list" 30 is "$bulk" row_count
  height=$(control_height Glimmer 101 Button)
  expect_eq "at $dpi DPI the buttons are 21 pixels of 96 DPI high" "$(((21 * dpi + 48) / 96))" "$height"
  expect_eq "at $dpi DPI the status bar shows the total" "$(comma_grouped $((bulk * $(stat -c %s "$cams/scans-sunset.cam")))) $(text ByteUnitOther en)" "$(status_part 1)"
  shot "en-dpi$dpi"
  keys_to Glimmer alt+F4
  expect_launcher_end "$dpi DPI run" "dpi$dpi"
}

# Without --device the launcher works on its own copy of the repository's demo device.
demo_run() {
  local data=$scratch/data demo
  demo=$(cd "$here/../../demo/device" && pwd)
  rm -rf "$data"
  XDG_DATA_HOME=$data start_glimmer demo en
  expect_eq "the launcher copied the demo device" "$(cd "$demo" && find . | sort)" \
    "$(cd "$data/glimmer/demo-device" && find . | sort)"
  click_control Glimmer 101 Button
  must_wait_for "the folder browser" 20 has_window "$(text BrowseFolderTitle en)"
  expect_eq "the demo device is the device root" "My Documents" \
    "$(tree_items "$(text BrowseFolderTitle en)" | awk -F'\t' '$1 == 1 { print $2 }')"
  keys_to "$(text BrowseFolderTitle en)" Escape
  must_wait_for "the folder browser to close" 20 no_window "$(text BrowseFolderTitle en)"
  expect_eq "a cancelled Find leaves the list empty" 0 "$(row_count)"
  keys_to Glimmer alt+F4
  expect_launcher_end "Demo run" demo
}

# A read-only folder of a run that was cut short must not stand in the way.
if [ -d "$device/Locked" ]; then
  chattr -i "$device/Locked" 2>/dev/null
  chmod u+w "$device/Locked"
fi
rm -rf "$device" "$scratch/expected" "$shots"
mkdir -p "$shots" "$scratch/expected"

# The device: pictures of both entry kinds in a folder and its sub-folder, a RECYCLED folder
# that must stay out of sight, a long run's worth of files, and two empty output folders.
mkdir -p "$device/DCIM/Trip" "$device/DCIM/RECYCLED" "$device/Bulk" "$device/out" "$device/out-ja" \
  "$device/Fonts" "$device/Locked"
cp "$cams/scans-sunset.cam" "$device/Fonts/mark_one.cam"
cp "$cams/scans-sunset.cam" "$device/DCIM/sunset.cam"
cp "$cams/scans-rings.cam" "$device/DCIM/rings.cam"
cp "$cams/scans-checker.cam" "$device/DCIM/Trip/checker_board.cam"
cp "$cams/jpeg-bands.cam" "$device/DCIM/Trip/bands.cam"
cp "$cams/scans-rings.cam" "$device/DCIM/RECYCLED/binned.cam"
bulk=240
for i in $(seq -w 1 $bulk); do cp "$cams/scans-sunset.cam" "$device/Bulk/pic$i.cam"; done
for picture in sunset rings; do cp "$cams/$picture.ppm" "$scratch/expected/$picture.ppm"; done
cp "$cams/checker.ppm" "$scratch/expected/checker_board.ppm"
djpeg -ppm "$cams/bands.jpg" >"$scratch/expected/bands.ppm"

# A folder no file can be created in: without write rights, and for root, whom rights do not
# stop, immutable as well.
chmod a-w "$device/Locked"
if touch "$device/Locked/.probe" 2>/dev/null; then
  rm -f "$device/Locked/.probe"
  chattr +i "$device/Locked" || abort "cannot make a read-only folder for the run (chattr)"
fi

openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null; chattr -i "$device/Locked" 2>/dev/null; chmod u+w "$device/Locked" 2>/dev/null
  for p in "$prefix_base"-*/; do WINEPREFIX=$p wineserver -k 2>/dev/null; done' EXIT
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

english_run
japanese_run
dpi_run 120
dpi_run 144
demo_run

echo "end-to-end: $passed passed, $failed failed"
echo "screenshots in $shots"
[ "$failed" -eq 0 ]
