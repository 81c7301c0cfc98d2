# Sourced by the scripted checks of single examples: build_example NAME
# builds that example alone against the engine installed in $prefix and
# changes into its folder; run_config writes headless settings there.
# Expects prefix, examples, build, compiler and flags to be set.

build_example() {
  rm -rf "$build"
  cmake -S "$examples" -B "$build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON \
    -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_CXX_FLAGS="$flags" >"$build.configure.log" ||
    { cat "$build.configure.log" >&2; exit 1; }
  cmake --build "$build" --target "$1" >"$build.build.log" || { cat "$build.build.log" >&2; exit 1; }
  cd "$build/$1"
}

# expect_lines LOG LINE...: each line somewhere in the log.
expect_lines() {
  local log=$1
  shift
  for line in "$@"; do
    grep -qF -- "$line" "$log" || { echo "FAIL: no line '$line' in $log:" >&2; grep -v '^$' "$log" | tail -n 30 >&2; exit 1; }
  done
}
