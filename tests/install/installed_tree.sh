#!/usr/bin/env bash
# `make install` into a temporary DESTDIR, then what a user has: glimmer-convert converting the
# demo files, the manual pages, the desktop entry and its start from the application menu
# (a stand-in for zenity picks the folder) up to Glimmer's window, and `make uninstall`
# leaving nothing of it behind.
#   installed_tree.sh TOP SCRATCH VERSION BUILT_GLIMMER_EXE
set -u

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

top=$1
scratch=$2
version=$3
built_exe=$4
prefix=/opt/glimmer
# shellcheck source=tests/install/checks.sh
source "$(dirname "$0")/checks.sh"

empty_scratch
dest=$scratch/dest
root=$dest$prefix
# Made once (about half a minute) and kept between runs, like the end-to-end run's.
wineprefix=$(dirname "$scratch")/wineprefix


if ! run_make install PREFIX="$prefix" DESTDIR="$dest" >"$scratch/install.log" 2>&1; then
  fail "make install failed:"
  tail -20 "$scratch/install.log"
  finish
fi

# ---- The installed files.
for file in bin/glimmer-convert bin/glimmer libexec/glimmer/start-from-menu; do
  [ -x "$root/$file" ] || fail "$file is not installed as a program"
done
for file in share/man/man1/glimmer-convert.1 share/man/man1/glimmer.1 share/applications/glimmer.desktop; do
  [ -f "$root/$file" ] || fail "$file is not installed"
done
for size in 16 22 24 32 48 64 128 256; do
  icon=$root/share/icons/hicolor/${size}x$size/apps/glimmer.png
  [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x$size" ] ||
    fail "no ${size}x$size PNG icon in the theme's folder"
done
cmp -s "$built_exe" "$root/libexec/glimmer/glimmer.exe" || fail "the installed glimmer.exe is not the one built"
diff -r "$top/demo/device" "$root/share/glimmer/demo-device" >/dev/null || fail "the installed demo device differs from demo/device"
outside=$(find "$dest" -mindepth 1 -not -type d -not -path "$root/*")
[ -z "$outside" ] || fail "files outside PREFIX: $outside"

# ---- glimmer-convert converts the demo files.
converter=$root/bin/glimmer-convert
[ "$("$converter" --version 2>&1)" = "glimmer-convert $version" ] || fail "glimmer-convert --version: $("$converter" --version 2>&1)"
mkdir -p "$scratch/out"
summary=$("$converter" -r -o "$scratch/out" "$root/share/glimmer/demo-device" 2>"$scratch/convert.err")
status=$?
[ "$status" -eq 0 ] || fail "converting the demo files exited with $status: $(cat "$scratch/convert.err")"
[ "$summary" = "4 converted, 0 incomplete, 0 skipped, 0 not converted, 0 failed" ] || fail "converting the demo files said '$summary'"
for picture in sunset rings Holiday/checker Holiday/bands; do
  size=$(djpeg -ppm "$scratch/out/My Documents/$picture.jpg" 2>/dev/null | head -c 20 | sed -n 2p)
  [ "$size" = "480 240" ] || fail "$picture.jpg does not decode to a 480 x 240 picture"
done

# ---- The manual pages, as man finds and renders them.
for page in glimmer-convert glimmer; do
  file=$root/share/man/man1/$page.1
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -l "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1: man warns: $warnings"
  footer=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$file" 2>/dev/null | tail -1)
  [[ $footer == "Glimmer $version "* ]] || fail "$page.1 does not name version $version: '$footer'"
  found=$(MANPATH=$root/share/man man -w "$page" 2>&1)
  [ "$found" = "$file" ] || fail "man $page finds '$found', not the installed page"
done

# ---- The desktop entry and the launcher.
desktop=$root/share/applications/glimmer.desktop
problems=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate rejects glimmer.desktop: $problems"
[ -z "$problems" ] || fail "desktop-file-validate warns: $problems"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = "$prefix/libexec/glimmer/start-from-menu" ] || fail "the desktop entry starts '$exec_line'"
grep -qx 'Icon=glimmer' "$desktop" || fail "the desktop entry does not name the theme's icon glimmer"
help=$("$root/bin/glimmer" --help 2>&1) || fail "glimmer --help exited with $?"
[[ $help == *"--device DIR"* && $help == *"glimmer [--device DIR]"* ]] || fail "glimmer --help says: $help"

# The start from the menu, with the user's Pictures folder where the user's settings name it and
# a zenity that logs each call and picks $PICK in the folder chooser (Cancel when it is empty).
home=$scratch/home
mkdir -p "$home/.config" "$home/Bilder" "$scratch/fakebin" "$scratch/card"
echo 'XDG_PICTURES_DIR="$HOME/Bilder"' >"$home/.config/user-dirs.dirs"
cp "$top/demo/device/My Documents/sunset.cam" "$scratch/card/"
cat >"$scratch/fakebin/zenity" <<'EOF'
#!/bin/sh
# One line per call, whatever line breaks a text holds.
printf '%s\n' "$*" | tr '\n' ' ' >>"$ZENITY_LOG"
echo >>"$ZENITY_LOG"
case "$*" in
  *--file-selection*) [ -n "$PICK" ] && printf '%s\n' "$PICK" ;;
esac
EOF
chmod +x "$scratch/fakebin/zenity"
menu_start() {
  env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" LANG=en_US.UTF-8 PATH="$scratch/fakebin:$PATH" \
    ZENITY_LOG="$scratch/zenity.log" GLIMMER_WINEPREFIX="$wineprefix" "$@" "$dest$exec_line"
}

: >"$scratch/zenity.log"
menu_start env PICK= >"$scratch/cancel.log" 2>&1
status=$?
[ "$status" -eq 0 ] || fail "Cancel in the folder chooser: the start exited with $status"
[ "$(wc -l <"$scratch/zenity.log")" -eq 1 ] || fail "Cancel: zenity was called other than once: $(cat "$scratch/zenity.log")"
grep -q -- "--directory.*--filename=$home/Bilder/" "$scratch/zenity.log" ||
  fail "the folder chooser does not open on the Pictures folder: $(cat "$scratch/zenity.log")"

: >"$scratch/zenity.log"
menu_start env PICK="$scratch/card" DISPLAY=:4242 >"$scratch/no-display.log" 2>&1
status=$?
[ "$status" -ne 0 ] || fail "a start without a reachable display reported success"
grep -q -- "--error.*cannot open the display" "$scratch/zenity.log" ||
  fail "a failed start was not shown in a box: $(cat "$scratch/zenity.log")"

has_window() { xdotool search --onlyvisible --name '^Glimmer$' >/dev/null 2>&1; }
if has_window; then
  fail "a Glimmer window was there before the start"
else
  : >"$scratch/zenity.log"
  menu_start env PICK="$scratch/card" >"$scratch/start.log" 2>&1 &
  start_pid=$!
  end=$((SECONDS + 400))
  while ! has_window && kill -0 "$start_pid" 2>/dev/null && [ "$SECONDS" -lt "$end" ]; do
    sleep 1
  done
  # The launcher's Wine prefixes are named from GLIMMER_WINEPREFIX.
  if has_window; then
    drive=$(readlink "$wineprefix"*/dosdevices/g:)
    [ "$drive" = "$scratch/card" ] || fail "Glimmer's device is '$drive', not the folder picked"
    # Wine's own prefix, confined: its drive C: and the device, no link to the home folder.
    drives=$(cd "$wineprefix"-en/dosdevices && ls -d ?: ?:: 2>/dev/null | tr '\n' ' ')
    [ "$drives" = "c: g: " ] || fail "Glimmer's Wine prefix has the drives $drives"
    links=$(find "$wineprefix"-en/drive_c/users -maxdepth 2 -type l)
    [ -z "$links" ] || fail "Glimmer's Wine prefix links out of itself: $links"
    # Nor does Wine write the prefix's menus and file types into the home folder.
    for written in .config/menus .local/share/applications .local/share/mime .local/share/desktop-directories; do
      [ ! -e "$home/$written" ] || fail "Wine wrote ~/$written for the prefix"
    done
  else
    fail "no Glimmer window from the menu start: $(cat "$scratch/start.log") (xdpyinfo here: $(xdpyinfo 2>&1 | head -1))"
  fi
  for used in "$wineprefix"*/; do WINEPREFIX=$used wineserver -k 2>/dev/null; done
  end=$((SECONDS + 60))
  while kill -0 "$start_pid" 2>/dev/null && [ "$SECONDS" -lt "$end" ]; do sleep 0.5; done
  kill "$start_pid" 2>/dev/null
  wait "$start_pid" 2>/dev/null
  for used in "$wineprefix"*/; do WINEPREFIX=$used wineserver -w 2>/dev/null; done
fi

# ---- Installing again over an older installation, then uninstalling.
record=$root/share/glimmer/installed-files
echo "outside" >"$dest/opt/not-glimmer"
touch "$root/share/glimmer/demo-device/old.cam"
printf '%s\n' "share/glimmer/demo-device/old.cam" "../not-glimmer" >>"$record"
run_make install PREFIX="$prefix" DESTDIR="$dest" >"$scratch/reinstall.log" 2>&1 || fail "make install over an installation failed"
[ ! -e "$root/share/glimmer/demo-device/old.cam" ] || fail "a file of the older installation was left"
run_make uninstall PREFIX="$prefix" DESTDIR="$dest" >"$scratch/uninstall.log" 2>&1 || fail "make uninstall failed: $(cat "$scratch/uninstall.log")"
[ ! -e "$root" ] || fail "make uninstall left: $(find "$root" | head)"
[ -f "$dest/opt/not-glimmer" ] || fail "a path outside PREFIX on the record was removed"
left=$(find "$dest" -mindepth 1 -not -type d -not -path "$dest/opt/not-glimmer")
[ -z "$left" ] || fail "files left after make uninstall: $left"
if run_make uninstall PREFIX="$prefix" DESTDIR="$dest" >"$scratch/uninstall-again.log" 2>&1; then
  fail "make uninstall with nothing installed reported success"
fi

finish
