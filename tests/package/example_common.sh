# Sourced by the scripted checks of single examples, which run in the
# examples' build made by example_test.sh (the package_example test):
# enter_example NAME changes into that example's folder there.
# expect_lines LOG LINE...: each line somewhere in the log.

enter_example() {
  [ -x "$built/$1/$1" ] || { echo "FAIL: $built/$1/$1 was not built" >&2; exit 1; }
  cd "$built/$1"
}

expect_lines() {
  local log=$1
  shift
  for line in "$@"; do
    grep -qF -- "$line" "$log" || { echo "FAIL: no line '$line' in $log:" >&2; grep -v '^$' "$log" | tail -n 30 >&2; exit 1; }
  done
}
