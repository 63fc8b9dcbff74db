#!/usr/bin/env bash
# The manual pages as `make install` installs them: man renders each without a warning, mandb
# can index it, glimmer-convert's page has its sections, and each page's OPTIONS name exactly
# the options that the command's --help names.
#   manual_pages.sh STAGE_DIR GLIMMER_CONVERT
# STAGE_DIR holds the configured pages and the launcher as installed (build/.../packaging).
set -u
stage=$1
converter=$2
# shellcheck source=tests/install/checks.sh
source "$(dirname "$0")/checks.sh"

# The page as text, without the formatting a terminal would get.
render() { LC_ALL=C.UTF-8 MANWIDTH=100 man -l "$1" 2>/dev/null | col -b; }

# The text of one section of a rendered page: from its heading to the next heading.
section() { awk -v s="$1" '/^[A-Z]/ { on = ($0 == s); next } on'; }

# Every option a text names: a word starting with one or two dashes, not inside a word.
options_in() { grep -oP '(?<![\w-])--?[A-Za-z][A-Za-z0-9-]*' | sort -u; }

for page in glimmer-convert glimmer; do
  file=$stage/$page.1
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -l "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1: man warns: $warnings"
  whatis=$(lexgrog "$file" 2>&1) || fail "$page.1: mandb cannot read its NAME line: $whatis"
  [[ $whatis == *"\"$page - "* ]] || fail "$page.1: the NAME line does not describe $page: $whatis"
done

headings=$(render "$stage/glimmer-convert.1" | grep -E '^[A-Z][A-Z ]+$' | tr '\n' ',')
[ "$headings" = "NAME,SYNOPSIS,DESCRIPTION,OPTIONS,EXIT STATUS,ENVIRONMENT,EXAMPLES,SEE ALSO," ] ||
  fail "glimmer-convert.1 has the sections $headings"

# compare_options PAGE HELP_TEXT
compare_options() {
  local page=$1 documented offered
  documented=$(render "$stage/$page.1" | section OPTIONS | options_in)
  offered=$(options_in <<<"$2")
  [ -n "$offered" ] || fail "$page --help names no option at all"
  if [ "$documented" != "$offered" ]; then
    fail "$page: the manual page's OPTIONS and --help differ (< only in the page, > only in --help):"
    diff <(echo "$documented") <(echo "$offered") | grep '^[<>]'
  fi
}

help=$("$converter" --help) || fail "glimmer-convert --help exited with $?"
compare_options glimmer-convert "$help"
help=$("$stage/glimmer" --help) || fail "glimmer --help exited with $?"
compare_options glimmer "$help"

# The launcher's --help names the environment variables and exit statuses of its page.
variables_in() { grep -oE '\b[A-Z][A-Z0-9]*_[A-Z0-9_]+\b' | sort -u; }
documented=$(render "$stage/glimmer.1" | section ENVIRONMENT | variables_in)
offered=$(sed -n '/^Environment:/,/^[^A-Z]/p' <<<"$help" | variables_in)
[ -n "$documented" ] && [ "$documented" = "$offered" ] ||
  fail "glimmer: ENVIRONMENT names '$(echo $documented)', --help '$(echo $offered)'"
documented=$(render "$stage/glimmer.1" | section "EXIT STATUS" | grep -oP '^ +\K[0-9]+(?= )' | sort -u)
offered=$(sed -n '/^Exit status:/,$p' <<<"$help" | grep -oP '^[0-9]+(?= )' | sort -u)
[ -n "$documented" ] && [ "$documented" = "$offered" ] ||
  fail "glimmer: EXIT STATUS lists '$(echo $documented)', --help '$(echo $offered)'"

finish
