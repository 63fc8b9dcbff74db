#!/usr/bin/env bash
# glimmer-convert (natively, or through Wine) shows the same words for the same outcome as the
# window program and the page: each file of tests/outcome_texts.txt converted alone, under a
# Japanese locale (LANG=ja_JP.UTF-8) and an English one, gives the catalogue's text that the
# table names, and its summary in the locale's language.
#   outcome_words.sh SOURCE_DIR TEST_SET SCRATCH COMMAND...
set -u
top=$1
test_set=$2
scratch=$3
shift 3
windows=false
[[ "$*" == *.exe* ]] && windows=true

# shellcheck source=tests/support/checks.sh
source "$(dirname "$0")/../support/checks.sh"

catalogue=$(python3 "$top/scripts/text_catalogue.py" shell) || { echo "FAIL: the catalogue did not load"; exit 1; }
eval "$catalogue"

# text LANGUAGE IDENTIFIER [WORD...]: the catalogue's form with its conversions filled in.
text() {
  local -n forms=TEXTS_$1
  # shellcheck disable=SC2059 # the catalogue's form is the format
  printf -- "${forms[$2]}" "${@:3}"
}

# Runs the converter under the locale, natively by LANG alone (as a user's session sets it),
# under Wine by the locale Wine starts with.
convert_in() {
  local locale=$1
  shift
  if $windows; then
    GLIMMER_LOCALE=$locale "$@"
  else
    env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG="$locale" "$@"
  fi >"$scratch/stdout" 2>"$scratch/stderr" </dev/null
  out=$(tr -d '\r' <"$scratch/stdout")
  err=$(tr -d '\r' <"$scratch/stderr")
}

rm -rf "$scratch"
mkdir -p "$scratch"
checked=0
while read -r file identifier; do
  [[ -z $file || $file == \#* ]] && continue
  cp "$test_set/$file" "$scratch/$file"
  for language in ja en; do
    locale=ja_JP.UTF-8
    [ $language = en ] && locale=en_US.UTF-8
    rm -rf "$scratch/out"
    mkdir -p "$scratch/out"
    convert_in "$locale" "$@" -o "$scratch/out" "$scratch/$file"
    case $identifier in
      Converted)
        counts=(1 0 0 0 0)
        [ -z "$err" ] || fail "$file ($language): a converted file gave the message '$err'" ;;
      SourceEndsEarly)
        counts=(0 1 0 0 0) ;;
      *)
        counts=(0 0 0 0 1) ;;
    esac
    if [ "$identifier" != Converted ]; then
      said="glimmer-convert: $(text $language "$identifier" "$scratch/$file")"
      [[ $err == "$said"* ]] || fail "$file ($language): said '$err', not '$said'"
    fi
    summary=$(text $language ConverterSummary "${counts[@]}")
    [ "$out" = "$summary" ] || fail "$file ($language): summary '$out', not '$summary'"
  done
  checked=$((checked + 1))
done <"$top/tests/outcome_texts.txt"
[ "$checked" -gt 4 ] || fail "only $checked files of the outcome table were checked"

finish
