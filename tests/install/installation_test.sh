#!/usr/bin/env bash
# make install and make uninstall where they go wrong, from a native build tree into folders
# below SCRATCH, never the real system: a record that points through links or out of PREFIX,
# an installation that fails midway, a file that cannot be removed, and PREFIXes with the
# characters that break quoting (each gives a desktop entry that desktop-file-validate and
# GLib's launcher accept, or a clear refusal; none runs as code).
#   installation_test.sh TOP BUILD_TREE SCRATCH
set -u

top=$1
tree=$2
scratch=$3
# shellcheck source=tests/install/checks.sh
source "$(dirname "$0")/checks.sh"

empty_scratch

# make as a person runs it, without its setup step and from the build tree instead of a new build.
tree_make() { GLIMMER_BUILD_TREES="$tree" PWNED="$scratch/pwned" run_make -o setup "$@"; }

# files_below FOLDER: every file or link below FOLDER, one per line, sorted.
files_below() { (cd "$1" && find . -mindepth 1 -not -type d | LC_ALL=C sort); }

# ---- A record that leads out of PREFIX: nothing outside is removed, each refusal is named.
dest=$scratch/dest
prefix=/opt/glimmer
root=$dest$prefix
if ! tree_make install PREFIX="$prefix" DESTDIR="$dest" >"$scratch/install.log" 2>&1; then
  fail "make install into a DESTDIR failed: $(tail -5 "$scratch/install.log")"
fi
record=$root/share/glimmer/installed-files
[ -x "$root/bin/glimmer-convert" ] || fail "glimmer-convert was not installed"
grep -qx 'bin/glimmer-convert' "$record" || fail "the record does not list bin/glimmer-convert"
if grep -q 'glimmer-new' "$record"; then fail "the record of a complete installation names temporary files"; fi

outside=$scratch/outside
mkdir -p "$outside/folder"
echo keep >"$outside/victim.txt"
echo keep >"$outside/folder/start-from-menu"
ln -s "$outside" "$root/share/glimmer/evil"
# A folder the installation made, swapped for a link to a folder with a file of the same name.
rm -r "$root/libexec/glimmer"
ln -s "$outside/folder" "$root/libexec/glimmer"
printf '%s\n' share/glimmer/evil/victim.txt ../../../outside/victim.txt /etc/hostname >>"$record"
tree_make uninstall PREFIX="$prefix" DESTDIR="$dest" >"$scratch/uninstall-links.log" 2>&1
status=$?
[ "$status" -ne 0 ] || fail "uninstall through links reported success"
[ "$(cat "$outside/victim.txt" 2>/dev/null)" = keep ] || fail "uninstall removed a file through a link to outside PREFIX"
[ "$(cat "$outside/folder/start-from-menu" 2>/dev/null)" = keep ] ||
  fail "uninstall removed a file through a link that replaced one of its folders"
grep -q "share/glimmer/evil is a link" "$scratch/uninstall-links.log" ||
  fail "uninstall did not name the link it refused: $(cat "$scratch/uninstall-links.log")"
grep -q "'../../../outside/victim.txt' on the record is not a path inside" "$scratch/uninstall-links.log" ||
  fail "uninstall did not refuse the record line that leaves PREFIX"
[ ! -e "$root/bin/glimmer-convert" ] || fail "uninstall stopped before the files it could remove"
remaining=$(grep -v '/$' "$record" 2>/dev/null | LC_ALL=C sort | tr '\n' ' ')
[ "$remaining" = "libexec/glimmer/start-from-menu share/glimmer/evil/victim.txt " ] ||
  fail "the record after a partial uninstall lists '$remaining', not what is left"
rm "$root/share/glimmer/evil" "$root/libexec/glimmer"
tree_make uninstall PREFIX="$prefix" DESTDIR="$dest" >"$scratch/uninstall-rest.log" 2>&1 ||
  fail "uninstall of the rest failed: $(cat "$scratch/uninstall-rest.log")"
[ ! -e "$root" ] || fail "uninstall left: $(files_below "$root" | head -5)"

# ---- An installation that fails midway can be uninstalled; a folder is no place for a file.
mkdir -p "$root/share/man/man1/glimmer.1"
echo mine >"$root/share/man/man1/glimmer.1/notes.txt"
if tree_make install PREFIX="$prefix" DESTDIR="$dest" >"$scratch/install-blocked.log" 2>&1; then
  fail "make install reported success with a folder where a manual page goes"
fi
grep -q "$root/share/man/man1/glimmer.1 is a folder where Glimmer's file must go" "$scratch/install-blocked.log" ||
  fail "the failed install does not name the folder in the way: $(tail -3 "$scratch/install-blocked.log")"
[ "$(files_below "$root/share/man/man1/glimmer.1")" = ./notes.txt ] || fail "make install put files into the folder in the way"
[ -f "$record" ] && grep -qx bin/glimmer-convert "$record" || fail "the failed install left no record of what it placed"
[ -z "$(find "$root" -name '*.glimmer-new')" ] || fail "the failed install left temporary files"
tree_make uninstall PREFIX="$prefix" DESTDIR="$dest" >"$scratch/uninstall-failed.log" 2>&1 ||
  fail "make uninstall after a failed install failed: $(cat "$scratch/uninstall-failed.log")"
[ "$(files_below "$root")" = ./share/man/man1/glimmer.1/notes.txt ] ||
  fail "uninstall after a failed install left other than the user's file: $(files_below "$root" | head -5)"
rm -r "$dest"

# A file that cannot be removed is reported, the others go, and the record keeps only it.
tree_make install PREFIX="$prefix" DESTDIR="$dest" >"$scratch/install-2.log" 2>&1 || fail "make install failed again"
rm "$root/share/man/man1/glimmer-convert.1"
mkdir "$root/share/man/man1/glimmer-convert.1"
tree_make uninstall PREFIX="$prefix" DESTDIR="$dest" >"$scratch/uninstall-stuck.log" 2>&1 &&
  fail "uninstall reported success with a recorded file it could not remove"
grep -q "cannot remove $root/share/man/man1/glimmer-convert.1: it is a folder" "$scratch/uninstall-stuck.log" ||
  fail "uninstall did not name the file it could not remove: $(cat "$scratch/uninstall-stuck.log")"
[ ! -e "$root/bin/glimmer" ] || fail "uninstall stopped at the file it could not remove"
[ "$(grep -v '/$' "$record")" = share/man/man1/glimmer-convert.1 ] ||
  fail "the record does not keep exactly what is left: $(cat "$record")"
rmdir "$root/share/man/man1/glimmer-convert.1"
tree_make uninstall PREFIX="$prefix" DESTDIR="$dest" >/dev/null 2>&1 || fail "the second uninstall failed"
[ ! -e "$root" ] || fail "the second uninstall left: $(files_below "$root" | head -5)"

# ---- PREFIXes with the characters that quoting gets wrong, installed where they say, each with a
# desktop entry that validates and that GLib's launcher starts (its start replaced by a stand-in
# that writes down how it was called). None may run as a command.
odd=$scratch/odd
mkdir -p "$odd"
# Commands as the shell and make would write them; PWNED names the file they would make.
names=("a b'c\$HOME\`d\"e\\f;g" '100%' $'line\nbreak' \
  'cmd$(touch $PWNED)`touch $PWNED`$(shell touch $${PWNED})')
for name in "${names[@]}"; do
  prefix=$odd/$name
  shown=$(printf '%q' "$name")
  if ! tree_make install PREFIX="$prefix" >"$scratch/odd.log" 2>&1; then
    fail "make install with PREFIX ending in $shown failed: $(tail -3 "$scratch/odd.log")"
    continue
  fi
  entry=$prefix/share/applications/glimmer.desktop
  [ -x "$prefix/bin/glimmer-convert" ] || fail "PREFIX ending in $shown: glimmer-convert is not where PREFIX says"
  problems=$(desktop-file-validate "$entry" 2>&1) || fail "PREFIX ending in $shown: desktop-file-validate rejects the entry: $problems"
  [ -z "$problems" ] || fail "PREFIX ending in $shown: desktop-file-validate warns: $problems"
  printf '#!/bin/sh\nprintf %%s "$0" >"%s/started"\n' "$scratch" >"$prefix/libexec/glimmer/start-from-menu"
  rm -f "$scratch/started"
  launched=$(gio launch "$entry" 2>&1) || fail "PREFIX ending in $shown: GLib does not start the entry: $launched"
  for _ in $(seq 50); do [ -e "$scratch/started" ] && break; sleep 0.1; done
  [ "$(cat "$scratch/started" 2>/dev/null)" = "$prefix/libexec/glimmer/start-from-menu" ] ||
    fail "PREFIX ending in $shown: the entry started '$(cat "$scratch/started" 2>/dev/null)'"
  tree_make uninstall PREFIX="$prefix" >"$scratch/odd.log" 2>&1 ||
    fail "make uninstall with PREFIX ending in $shown failed: $(tail -3 "$scratch/odd.log")"
  [ ! -e "$prefix" ] || fail "make uninstall with PREFIX ending in $shown left: $(files_below "$prefix" | head -3)"
done
[ ! -e "$scratch/pwned" ] || fail "a command in PREFIX was run"
[ -z "$(ls -A "$odd")" ] || fail "installs went elsewhere than PREFIX: $(ls -A "$odd")"

# A PREFIX that no desktop entry can name is refused before anything is installed.
prefix=$odd/$'bell\a'
tree_make install PREFIX="$prefix" >"$scratch/refused.log" 2>&1 && fail "a PREFIX with a control character was installed"
grep -q "installation: PREFIX: .* holds a control character" "$scratch/refused.log" ||
  fail "the refusal of a control character does not say so: $(cat "$scratch/refused.log")"
[ ! -e "$prefix" ] || fail "the refused PREFIX was made"

finish
