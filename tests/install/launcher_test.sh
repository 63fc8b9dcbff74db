#!/usr/bin/env bash
# The glimmer launcher and the menu's start where they go wrong, with stand-ins for Wine that
# make a prefix as Wine lays it out and write down how they were called: a folder of the user's
# at the prefix's place, drive letters Wine needs, no Wine at all, device folders with odd
# names, and what the prefix lets Glimmer reach.
#   launcher_test.sh STAGE_DIR SCRATCH
# STAGE_DIR holds the launcher and the menu's start as installed (build/.../packaging).
set -u

stage=$1
scratch=$2
# shellcheck source=tests/install/checks.sh
source "$(dirname "$0")/checks.sh"

empty_scratch

# The installed layout: the menu's start finds the launcher from its own folder.
tree=$scratch/tree
mkdir -p "$tree/bin" "$tree/libexec/glimmer"
cp "$stage/glimmer" "$tree/bin/glimmer"
cp "$stage/start-from-menu" "$tree/libexec/glimmer/start-from-menu"
launcher=$tree/bin/glimmer
echo 'not a real program' >"$scratch/glimmer.exe"
cp "$scratch/glimmer.exe" "$tree/libexec/glimmer/glimmer.exe"

# Stand-ins: wineboot makes the prefix's drives C: and Z: and the user folders Wine links to the
# home folder; wine writes down its current folder and arguments and ends as Glimmer does (1).
fakes=$scratch/fakes
mkdir -p "$fakes"
cat >"$fakes/wineboot" <<'EOF'
#!/bin/sh
echo "$WINEPREFIX" >>"$SCRATCH/wineboot.log"
mkdir -p "$WINEPREFIX/dosdevices" "$WINEPREFIX/drive_c/users/me/Temp"
ln -s ../drive_c "$WINEPREFIX/dosdevices/c:"
ln -s / "$WINEPREFIX/dosdevices/z:"
ln -s /dev/sr0 "$WINEPREFIX/dosdevices/d::"
for folder in Desktop Documents Pictures; do ln -s "$HOME" "$WINEPREFIX/drive_c/users/me/$folder"; done
EOF
cat >"$fakes/wine" <<'EOF'
#!/bin/sh
[ "$1" = regedit ] && exit 0
printf '%s' "$PWD" >"$SCRATCH/wine-cwd"
printf '%s\n' "$@" >"$SCRATCH/wine-args"
exit 1
EOF
printf '#!/bin/sh\nexit 0\n' >"$fakes/wineserver"
printf '#!/bin/sh\nexit 0\n' >"$fakes/xdpyinfo"
cat >"$fakes/zenity" <<'EOF'
#!/bin/sh
# One line per call, whatever line breaks a text holds.
printf '%s' "$*" | tr '\n' ' ' >>"$SCRATCH/zenity.log"
echo >>"$SCRATCH/zenity.log"
case "$*" in *--file-selection*) printf '%s\n' "$PICK" ;; esac
EOF
chmod +x "$fakes"/*

# Every command of the system but Wine's, for a start without Wine.
system=$scratch/system
mkdir -p "$system"
find /usr/bin /usr/local/bin -maxdepth 1 -not -name 'wine*' -not -type d -exec ln -sf -t "$system" {} + 2>/dev/null

home=$scratch/home
mkdir -p "$home"
base=$scratch/prefix
# start LOG [ENV=VALUE...] [-- LAUNCHER ARGUMENTS]: the launcher with the stand-ins, its
# exit status in $status and its messages in $scratch/LOG.
start() {
  local log=$scratch/$1 settings=()
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do settings+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  env -u XDG_DATA_HOME -u GLIMMER_DRIVE HOME="$home" DISPLAY=:99 PATH="$fakes:$PATH" SCRATCH="$scratch" \
    GLIMMER_WINEPREFIX="$base" LANG=en_US.UTF-8 "${settings[@]}" "$launcher" --exe "$scratch/glimmer.exe" "$@" \
    >"$log" 2>&1
  status=$?
}
# exact_link LINK: the link's target, every character kept, in $target (a command substitution
# would drop a final line break).
exact_link() { target=$(readlink "$1"; echo x); target=${target%$'\n'x}; }

card=$scratch/card
mkdir -p "$card"

# ---- A folder of the user's where a prefix goes is never removed; the launcher's own is.
mkdir -p "$base-en"
echo precious >"$base-en/notes.txt"
start keep.log -- --device "$card"
[ "$status" -eq 1 ] || fail "a foreign folder at the prefix's place: exit status $status, not 1"
[ "$(cat "$base-en/notes.txt" 2>/dev/null)" = precious ] || fail "the launcher removed a folder it did not make"
grep -q "$base-en is not a Wine prefix that Glimmer made" "$scratch/keep.log" ||
  fail "the refusal does not name the folder: $(cat "$scratch/keep.log")"
[ ! -e "$scratch/wineboot.log" ] || fail "Wine set a prefix up in the user's folder"
rm -r "$base-en"

start first.log -- --device "$card"
[ "$status" -eq 0 ] || fail "a first start failed ($status): $(cat "$scratch/first.log")"
exact_link "$base-en/dosdevices/g:"
[ "$target" = "$card" ] || fail "drive G: is not the device folder"
[ "$(cat "$scratch/wine-cwd" 2>/dev/null)" = "$card" ] || fail "Wine did not start in the device folder"
# A prefix the launcher began and did not finish is made afresh.
rm "$base-en/.glimmer-ready"
echo stale >"$base-en/stale"
start again.log -- --device "$card"
[ "$status" -eq 0 ] || fail "a start after an unfinished prefix failed ($status): $(cat "$scratch/again.log")"
[ ! -e "$base-en/stale" ] && [ -f "$base-en/.glimmer-ready" ] || fail "an unfinished prefix of the launcher's was not made afresh"

# ---- What Glimmer reaches: its drive C: and the device folder, no link into the home folder.
drives=$(cd "$base-en/dosdevices" && ls | tr '\n' ' ')
[ "$drives" = "c: g: " ] || fail "the prefix has the drives '$drives', not only C: and the device's G:"
for folder in Desktop Documents Pictures; do
  [ -d "$base-en/drive_c/users/me/$folder" ] && [ ! -L "$base-en/drive_c/users/me/$folder" ] ||
    fail "the prefix's $folder is not a folder of its own"
done

# ---- Drive letters Wine needs are refused, the others work, an old device drive goes.
for letter in c C z Z: cd 7; do
  start drive.log GLIMMER_DRIVE="$letter" -- --device "$card"
  [ "$status" -eq 2 ] || fail "GLIMMER_DRIVE='$letter': exit status $status, not 2"
  grep -q "GLIMMER_DRIVE must be one drive letter other than C and Z" "$scratch/drive.log" ||
    fail "GLIMMER_DRIVE='$letter': $(cat "$scratch/drive.log")"
done
exact_link "$base-en/dosdevices/c:"
[ "$target" = ../drive_c ] || fail "drive C: was changed"
start drive-h.log GLIMMER_DRIVE=H: -- --device "$card"
[ "$status" -eq 0 ] || fail "GLIMMER_DRIVE=H: failed: $(cat "$scratch/drive-h.log")"
exact_link "$base-en/dosdevices/h:"
[ "$target" = "$card" ] && [ ! -e "$base-en/dosdevices/g:" ] ||
  fail "GLIMMER_DRIVE=H: the drives are $(cd "$base-en/dosdevices" && ls | tr '\n' ' ')"

# ---- Device folders: names kept to the last character; the whole file system and the home
# folder refused.
sibling=$scratch/dev
newline=$'dev\n'
mkdir -p "$sibling" "$scratch/$newline" "$scratch/-dash"
start newline.log -- --device "$scratch/$newline"
exact_link "$base-en/dosdevices/g:"
[ "$status" -eq 0 ] && [ "$target" = "$scratch/$newline" ] ||
  fail "a device folder whose name ends in a line break became '$target'"
cd "$scratch" || exit 1
start dash.log -- --device -dash
cd - >/dev/null || exit 1
exact_link "$base-en/dosdevices/g:"
[ "$status" -eq 0 ] && [ "$target" = "$scratch/-dash" ] ||
  fail "the relative device folder -dash: $status, $(cat "$scratch/dash.log")"
# The same folder picked in the menu's folder chooser.
env -u XDG_DATA_HOME HOME="$home" DISPLAY=:99 PATH="$fakes:$PATH" SCRATCH="$scratch" GLIMMER_WINEPREFIX="$base" \
  PICK="$scratch/$newline" LANG=en_US.UTF-8 bash "$tree/libexec/glimmer/start-from-menu" >"$scratch/menu.log" 2>&1
status=$?
exact_link "$base-en/dosdevices/g:"
[ "$status" -eq 0 ] && [ "$target" = "$scratch/$newline" ] ||
  fail "the menu's start with a folder whose name ends in a line break: $status, '$target'"
ln -s "$home" "$scratch/home-link"
for refused in / "$home" "$scratch/home-link/"; do
  start refused.log -- --device "$refused"
  [ "$status" -eq 1 ] || fail "--device $refused: exit status $status, not 1"
  grep -q "glimmer: the device folder cannot be" "$scratch/refused.log" || fail "--device $refused: $(cat "$scratch/refused.log")"
done

# ---- Without Wine: said first, with how to install it, and nothing made.
rm -rf "$base-en" "$scratch/wineboot.log"
mkdir -p "$fakes-none"
cp "$fakes/zenity" "$fakes/xdpyinfo" "$fakes-none/"
env -u XDG_DATA_HOME HOME="$home" DISPLAY=:99 PATH="$fakes-none:$system" GLIMMER_WINEPREFIX="$base" \
  bash "$launcher" --exe "$scratch/glimmer.exe" >"$scratch/nowine.log" 2>&1
status=$?
[ "$status" -eq 1 ] || fail "without Wine: exit status $status, not 1"
grep -q "apt-get install wine" "$scratch/nowine.log" || fail "without Wine the launcher says: $(cat "$scratch/nowine.log")"
[ ! -e "$base-en" ] && [ ! -e "$home/.local" ] || fail "without Wine the launcher still made folders"
# The menu's start shows that message in its box, and nothing about preparing a prefix.
: >"$scratch/zenity.log"
env -u XDG_DATA_HOME HOME="$home" DISPLAY=:99 PATH="$fakes-none:$system" GLIMMER_WINEPREFIX="$base" \
  SCRATCH="$scratch" PICK="$card" LANG=en_US.UTF-8 bash "$tree/libexec/glimmer/start-from-menu" >/dev/null 2>&1
box=$(grep -- --error "$scratch/zenity.log")
[[ $box == *"apt-get install wine"* && $box != *preparing* ]] || fail "the menu's box without Wine: $box"

finish
