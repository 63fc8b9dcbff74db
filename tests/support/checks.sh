# What the shell tests share: failed checks counted, and the end with their count.
#   source tests/support/checks.sh

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
