#!/usr/bin/env bash
# install.sh BUILD PREFIX [docs]: installs what BUILD has built into PREFIX,
# afresh, and checks that the package files and the headers are there (and
# the API reference, when asked).
set -euo pipefail
build=$1 prefix=$2 docs=${3:-}
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
files=(lib/libtessera.a lib/cmake/Tessera/TesseraConfig.cmake lib/cmake/Tessera/TesseraConfigVersion.cmake
  lib/pkgconfig/tessera.pc include/tessera/world/Object.h include/tessera/core/Version.h
  share/tessera/ts-font.ttf share/tessera/ts-font-LICENSE.txt)
# The game and its data, when the build has the game.
[ -e "$build/rhythm" ] && files+=(bin/rhythm share/tessera-rhythm/sprites/note-up.txt share/tessera-rhythm/charts/star.chart)
[ "$docs" = docs ] && files+=(share/doc/tessera/html/index.html share/doc/tessera/html/classts_1_1Object.html)
for file in "${files[@]}"; do
  [ -e "$prefix/$file" ] || { echo "FAIL: $file is not installed" >&2; exit 1; }
done
# The engine's internal headers stay out of the installed tree.
internal=$(find "$prefix/include" -path '*/platform/*' -o -name 'DrawnArea.h' -o -name 'MediaLog.h')
[ -z "$internal" ] || { echo "FAIL: internal headers installed: $internal" >&2; exit 1; }
echo PASS
