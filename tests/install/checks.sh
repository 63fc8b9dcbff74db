# What the install tests share: the checks of every shell test, a scratch folder emptied, and
# make run as a person runs it.
#   source checks.sh

# shellcheck source=tests/support/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

# empty_scratch: the folder $scratch emptied (made when missing), and $scratch made absolute.
empty_scratch() {
  rm -rf "$scratch"
  mkdir -p "$scratch"
  scratch=$(cd "$scratch" && pwd)
}

# run_make ARGUMENTS...: make in $top as a person runs it, not as part of the make of the tests.
run_make() { env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -C "$top" --no-print-directory "$@"; }
