#!/usr/bin/env python3
"""Checks a tmux pane captured with colours (capture-pane -e -p) for one screen of the game.

pane.py KIND FILE: KIND is "start" (the song list), "play" (the HUD, the hit zone and at
least one note in its lane and colour), "menu" (the pause menu over the song) or "results"
(the results waiting for a key). Exit status 0 when the screen is there; else the
problems on standard error."""
import re
import sys

WHITE, YELLOW = (255, 255, 255), (255, 255, 0)
# The middle row of each note's picture, its colour and its lane's centre column.
NOTES = [("<====", (255, 0, 255), 10), ("/|\\", (0, 255, 0), 30), ("\\|/", (0, 255, 255), 50),
         ("====>", YELLOW, 70)]


def cells(text):
    """Rows of (character, foreground) from the captured text; a colour holds across lines."""
    rows, foreground = [], None
    for line in text.split("\n"):
        row = []
        for piece in re.split(r"(\x1b\[[0-9;:]*m)", line):
            if piece.startswith("\x1b["):
                numbers = [int(n) if n else 0 for n in re.split("[;:]", piece[2:-1])]
                i = 0
                while i < len(numbers):
                    if numbers[i] == 0 or numbers[i] == 39:
                        foreground = None
                    elif numbers[i] == 38 and numbers[i + 1:i + 2] == [2]:
                        foreground = tuple(numbers[i + 2:i + 5])
                        i += 4
                    elif numbers[i] in (38, 48):
                        i += 2 if numbers[i + 1:i + 2] == [5] else 4
                    i += 1
            else:
                row.extend((ch, foreground) for ch in piece)
        rows.append(row)
    return rows


def find(rows, text, color=None):
    """(row, column) of every place the text shows, in the colour when one is given."""
    found = []
    for y, row in enumerate(rows):
        line = "".join(ch for ch, _ in row)
        for match in re.finditer(re.escape(text), line):
            if color is None or all(row[x][1] == color for x in range(match.start(), match.end())):
                found.append((y, match.start()))
    return found


def problems(kind, rows):
    if kind == "start":
        return [] if find(rows, "Up/Down: choose a song") and find(rows, "Key  Song") else ["no song list"]
    if kind == "menu":
        return [] if find(rows, "> Resume <") and find(rows, "Paused", YELLOW) else ["no pause menu"]
    if kind == "results":
        return [] if find(rows, "Enter: song list    R: play again") and find(rows, "Accuracy ") else ["no results"]
    found = []
    if not find(rows, "| Score ", WHITE):
        found.append("no white score")
    if not find(rows, "| Combo ", YELLOW):
        found.append("no yellow combo")
    # The lines run between the four receptors, which stand on the upper one.
    zone = [y for y, row in enumerate(rows) if sum(ch == "=" and fg == WHITE for ch, fg in row) >= 40]
    if zone != [19, 20]:
        found.append("hit zone lines on rows %s, not 19 and 20" % zone)
    receptors = [x for y, x in find(rows, "[") if y == 19]
    if len(receptors) != 4:
        found.append("%d receptors on row 19, not 4" % len(receptors))
    notes = [(text, y) for text, color, lane in NOTES for y, x in find(rows, text, color)
             if x + len(text) // 2 == lane]
    if not notes:
        found.append("no note in its lane and colour")
    return found


def main():
    with open(sys.argv[2], encoding="utf-8", errors="replace") as capture:
        found = problems(sys.argv[1], cells(capture.read()))
    for problem in found:
        print(problem, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
