#!/usr/bin/env bash
# demo_chart_test.sh RHYTHM: a player's chart with a difficulty, chords and holds, played by
# "--demo PATH" to a perfect score: every chord note and every hold's tail counts.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

charts="$work/data/tessera-rhythm/charts"
mkdir -p "$charts"
cp Sound/Click_Track.ogg "$charts/clicks.ogg"
cat >"$charts/étoile.chart" <<'CHART'
title: Étoile à deux mains
difficulty: Hard
music: clicks.ogg
notes: 5:left 20:up 35:down 50:right 70:left 70:right 110:up+20 140:down
notes: 155:left+30 155:right 200:up 240:down+40 240:left 300:right
CHART

# Neither a song's key nor a chart file: a usage error.
"$1" --demo "$charts/none.chart" >/dev/null 2>"$work/usage"
[ $? = 2 ] && grep -qF "no song key or chart file '$charts/none.chart'" "$work/usage" || fail "--demo of no file"

start_game 60 "$1" --demo "$charts/étoile.chart"
expect_clean_exit
# 14 notes and 3 holds' tails: 17 judgements.
expect_log "SongLibrary: key 1: 'Étoile à deux mains' (étoile.chart)" "ScoreManager: Current Score: 170, Combo: 17" \
  "accuracy 100.0%, grade S; best scores are not kept in this run."
[ "$(grep -cF "Hold held to its end: Perfect!" "$log")" = 3 ] || fail "not every hold held to its end"
grep -qF "Miss!" "$log" && fail "a miss"
echo PASS
