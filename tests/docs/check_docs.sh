#!/usr/bin/env bash
# check_docs.sh DOXYFILE SCRATCH INCLUDE CHEATSHEET: builds the API reference
# into SCRATCH from the public headers in INCLUDE and fails when more than
# ten public members have no comment, or when more than a tenth of the public
# classes are missing from the cheatsheet; either way it lists them.
set -euo pipefail
doxyfile=$1 scratch=$2 include=$3 cheatsheet=$4
allowed_undocumented=10
command -v doxygen >/dev/null || { echo "FAIL: doxygen is not installed (scripts/setup.sh installs it)" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch"
# The configured reference, written here instead of into the build.
{ cat "$doxyfile"; echo "OUTPUT_DIRECTORY = $scratch"; echo "WARN_LOGFILE = $scratch/warnings.txt"; } | doxygen - >/dev/null
[ -e "$scratch/html/index.html" ] || { echo "FAIL: doxygen wrote no reference" >&2; exit 1; }
undocumented=$(grep 'is not documented' "$scratch/warnings.txt" | sed "s|^$include/||" | sort -u || true)
count=$(printf '%s' "$undocumented" | grep -c . || true)
echo "$count undocumented public members (at most $allowed_undocumented allowed)"
if [ "$count" -gt "$allowed_undocumented" ]; then
  echo "$undocumented" >&2
  exit 1
fi

# Every class or struct the headers define (not only declare) at the top level.
classes=$(grep -rhoE '^(class|struct) [A-Za-z_]+[^;]*$' "$include" | awk '{print $2}' | sort -u)
total=$(echo "$classes" | grep -c .)
missing=$(for class in $classes; do grep -qw "$class" "$cheatsheet" || echo "$class"; done)
missing_count=$(printf '%s' "$missing" | grep -c . || true)
echo "$missing_count of $total public classes missing from the cheatsheet"
if [ $((missing_count * 10)) -gt "$total" ]; then
  echo "$missing" >&2
  exit 1
fi
echo PASS
