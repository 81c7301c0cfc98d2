#!/usr/bin/env bash
# example_runs_test.sh BUILD NAME: plays the example NAME of the examples'
# build in BUILD (made by example_test.sh) headless with its scripted input,
# and checks the run's log line by line. A fixed random seed and one
# millisecond frames: the runs are the same every time, and short.
set -euo pipefail
build=$1 name=$2
cd "$build/$name"
log=$PWD/run.log

# play ARGS...: one headless run (random seed $seed, else 7); any exit
# status but 0, or anything on standard error, fails.
play() {
  printf 'headless:true,\nnetworking:false,\nframe_time:1,\nrandom_seed:%d,\n' "${seed:-7}" >run-config.txt
  TESSERA_CONFIG=run-config.txt TESSERA_LOG="$log" timeout 60 "./$name" "$@" 2>stderr.txt ||
    { echo "FAIL: $name $*: exit status $?" >&2; cat stderr.txt "$log" >&2; exit 1; }
  [ ! -s stderr.txt ] || { echo "FAIL: $name $*: standard error: $(cat stderr.txt)" >&2; exit 1; }
}

# expect PATTERN: the log's lines that match PATTERN, frame number first and
# without the time, are exactly standard input.
expect() {
  local seen
  seen=$(grep -E -- "$1" "$log" | sed -E 's/^[0-9:]+ +//')
  [ "$seen" = "$(cat)" ] || { echo "FAIL: $name: lines matching '$1':" >&2; echo "$seen" >&2; exit 1; }
}

case $name in
  hello)
    # Up past the top row and down past the last one, then Escape.
    play --keys UUUUUUUUUUUUDDDDDDDDDDDDDDDDDDDDDDDDQ --steps 1000
    rows=$(grep -o 'now on row [0-9]*' "$log" | cut -d' ' -f4 | tr '\n' ' ')
    [ "$rows" = "$(seq -s' ' 9 -1 0) $(seq -s' ' 1 21) " ] || { echo "FAIL: hello: rows $rows" >&2; exit 1; }
    expect 'lap|Escape|Hello:' <<'LINES'
159 Ship: lap 1 done at step 159
180 Ship: Escape pressed
181 Hello: the game ended after 181 steps and 1 laps
LINES
    ;;
  breakout)
    # The autopilot clears level 1 (a broken brick is out of play at once:
    # the ball takes its place as it bounces); the next wall comes in the
    # step after the last brick, and the old ball, marked, breaks none of it.
    play --autopilot --steps 2330
    [ "$(grep -c 'Ball: broke the brick' "$log")" = 9 ] || { echo "FAIL: breakout: not 9 bricks" >&2; exit 1; }
    expect 'Game:|Ball: lost|Breakout:|brick at \(24,3\)' <<'LINES'
0 Game: level 1 with 9 bricks
945 Ball: lost at (37.7242,24.75)
2318 Ball: broke the brick at (24,3)
2319 Game: level 2 with 18 bricks
2331 Breakout: the game ended after 2331 steps
LINES
    # The paddle left alone: three balls lost, the game over; the new game
    # starts afresh (lives, score, bricks) and plays the same again.
    play --steps 1190
    expect 'Game:|Ball: lost' <<'LINES'
0 Game: level 1 with 9 bricks
94 Ball: lost at (43,24.75)
291 Ball: lost at (18.0812,24.75)
589 Ball: lost at (7.98141,24.75)
590 Game: over at level 1 with score 60
590 Game: a new game
591 Game: level 1 with 9 bricks
685 Ball: lost at (43,24.75)
882 Ball: lost at (18.0812,24.75)
1180 Ball: lost at (7.98141,24.75)
1181 Game: over at level 1 with score 60
1181 Game: a new game
1182 Game: level 1 with 9 bricks
LINES
    ;;
  snake)
    # Towards the food until the snake runs into itself. Each move is one
    # cell, so the steps between two foods are the cells between them times
    # the pace, which changes at once with the length: 126 + 63 * 5 = 441,
    # 441 + 29 * 5 = 586, 586 + 58 * 4 = 818.
    play --autopilot --steps 2760
    [ "$(grep -c 'Snake: ate' "$log")" = 29 ] || { echo "FAIL: snake: not 29 foods" >&2; exit 1; }
    expect 'Snake: (ate .*length [4-7],|ran|the game)' <<'LINES'
126 Snake: ate the food at (7,18), length 4, a move every 5 frames
441 Snake: ate the food at (66,22), length 5, a move every 5 frames
586 Snake: ate the food at (74,1), length 6, a move every 4 frames
818 Snake: ate the food at (38,23), length 7, a move every 4 frames
2747 Snake: ran into itself at (58,20), length 32
2761 Snake: the game ended after 2761 steps with length 32
LINES
    # With seed 10 the next food's first random cell is the one the head is
    # entering as it eats: the food goes elsewhere, not under the snake.
    seed=10 play --autopilot --steps 1700
    expect 'Snake: .* at \(8,21\)' <<'LINES'
1620 Snake: food at (8,21)
1686 Snake: ate the food at (8,21), length 21, a move every 2 frames
LINES
    # Left alone it goes straight on, a cell every 6 steps from column 20,
    # and ends in the world's last column.
    play --steps 400
    expect 'Snake: (ran|the game)' <<'LINES'
360 Snake: ran off the world at (79,12), length 3
401 Snake: the game ended after 401 steps with length 3
LINES
    ;;
  scroller)
    # The nearest beacon each time; the view's corner stays within the world.
    play --autopilot --steps 1000
    expect 'Beacon:|Ship:|Scroller:' <<'LINES'
162 Beacon: found at (225,66), the view's corner at (160,48)
282 Beacon: found at (225,4), the view's corner at (160,0)
492 Beacon: found at (12,4), the view's corner at (0,0)
615 Beacon: found at (12,66), the view's corner at (0,48)
615 Beacon: the last one
616 Scroller: the game ended after 616 steps
LINES
    # Right to the world's edge, then up to its top: the ship stops at both.
    play --keys R.U --steps 200
    expect 'Ship:|Scroller:' <<'LINES'
119 Ship: stopped at the edge of the world at (239,36)
192 Ship: stopped at the edge of the world at (239,0)
201 Scroller: the game ended after 201 steps
LINES
    ;;
  *)
    echo "FAIL: no scripted run for $name" >&2
    exit 1
    ;;
esac
echo PASS
