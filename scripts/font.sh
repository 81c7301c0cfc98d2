#!/usr/bin/env bash
# Places the engine's font as ts-font.ttf in the repository root, the game's
# working directory. The font is the condensed face of the 3270 family
# (BSD-3-Clause or SIL Open Font License), installed by scripts/setup.sh:
# its glyphs fit inside the 12.8-pixel cells of the default window.
set -euo pipefail
cd "$(dirname "$0")/.."
source_font=/usr/share/fonts/truetype/3270/3270Condensed-Regular.ttf
if [ ! -f "$source_font" ]; then
  echo "font.sh: $source_font is missing; run scripts/setup.sh first" >&2
  exit 1
fi
cmp -s "$source_font" ts-font.ttf 2>/dev/null || cp "$source_font" ts-font.ttf
# Its licence goes where the font is installed with the engine.
licence=/usr/share/doc/fonts-3270/copyright
[ -f "$licence" ] && { cmp -s "$licence" ts-font-LICENSE.txt 2>/dev/null || cp "$licence" ts-font-LICENSE.txt; }
exit 0
