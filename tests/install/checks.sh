# What the install tests share: failed checks counted, the end with their count, a scratch
# folder emptied, and make run as a person runs it.
#   source checks.sh

failures=0

# fail MESSAGE: one failed check; the script goes on with the next.
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The end of a test script: exit status 1 when a check failed.
finish() {
  if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}

# empty_scratch: the folder $scratch emptied (made when missing), and $scratch made absolute.
empty_scratch() {
  rm -rf "$scratch"
  mkdir -p "$scratch"
  scratch=$(cd "$scratch" && pwd)
}

# run_make ARGUMENTS...: make in $top as a person runs it, not as part of the make of the tests.
run_make() { env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -C "$top" --no-print-directory "$@"; }
