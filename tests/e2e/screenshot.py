#!/usr/bin/env python3
"""screenshot.py start|play|calibration|results FILE: checks a screenshot (binary PPM) of the game's 80 x 24
cell window for the centred title picture, for hit-zone lines, HUD, notes and stars, for the calibration
screen's text, or for the cleared (or game-over) picture with the results under it; exits with what is missing."""
import re
import sys

COLUMNS, ROWS = 80, 24
# Which of red, green and blue are high in a glyph pixel, by engine colour.
COLOURS = {(1, 1, 1): "white", (1, 1, 0): "yellow", (0, 1, 0): "green", (1, 0, 1): "magenta",
           (0, 1, 1): "cyan", (1, 0, 0): "red", (0, 0, 1): "blue"}


def lit_pixels(path):
    data = open(path, "rb").read()
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    width, height = int(header.group(1)), int(header.group(2))
    rgb, pixels = data[header.end():], []
    for i in range(0, width * height * 3, 3):
        top = max(rgb[i:i + 3])
        if top > 100:
            pixels.append((i // 3 % width, i // 3 // width,
                           COLOURS.get(tuple(int(c > 0.6 * top) for c in rgb[i:i + 3]))))
    return width, height, pixels


def check_start(width, height, pixels):
    xs, ys, colours = zip(*pixels) if pixels else ((0,), (0,), (None,))
    cell_w, cell_h, problems = width / COLUMNS, height / ROWS, []
    # The 77 x 23 picture centred on cell (40, 12) spans columns 2 to 78 and rows 1 to 23.
    if abs(min(xs) + max(xs) - width) > 2 * cell_w or abs(min(ys) + max(ys) - 25 * cell_h) > 2 * cell_h:
        problems.append("title not centred: x %d..%d, y %d..%d" % (min(xs), max(xs), min(ys), max(ys)))
    if max(xs) - min(xs) < 55 * cell_w:
        problems.append("title narrower than 55 columns")
    if max(set(colours), key=colours.count) != "cyan":
        problems.append("title is not mostly cyan")
    return problems


def check_play(width, height, pixels):
    cells = {(int(x * COLUMNS / width), int(y * ROWS / height), c) for x, y, c in pixels}
    problems = []
    for row in (19, 20):  # '=' between the four receptors
        covered = sum((column, row, "white") in cells for column in range(COLUMNS))
        if covered < COLUMNS // 2:
            problems.append("hit-zone line on row %d covers %d columns" % (row, covered))
    if not any(c == "white" and r <= 2 and col < COLUMNS // 3 for col, r, c in cells):
        problems.append("no white score view at the top left")
    if not any(c == "yellow" and r <= 2 and col >= 2 * COLUMNS // 3 for col, r, c in cells):
        problems.append("no yellow combo view at the top right")
    field = {c for col, r, c in cells if 3 <= r <= 18}  # above the hit zone
    if not field & {"magenta", "green", "cyan", "yellow"}:
        problems.append("no note in the playing field")
    if "white" not in field:
        problems.append("no star in the playing field")
    return problems


def check_calibration(width, height, pixels):
    cells = {(int(x * COLUMNS / width), int(y * ROWS / height), c) for x, y, c in pixels}
    problems = []
    if not any(c == "yellow" and r == 4 and 30 <= col < 50 for col, r, c in cells):
        problems.append("no yellow title in the middle of row 4")
    for row in (8, 20):  # the instructions and the way back
        if not any(c == "white" and r == row for col, r, c in cells):
            problems.append("no white text on row %d" % row)
    if any(c == "cyan" for col, r, c in cells):
        problems.append("the title picture is still shown")
    return problems


def check_results(width, height, pixels):
    cells = {(int(x * COLUMNS / width), int(y * ROWS / height), c) for x, y, c in pixels}
    problems = []
    # The green "Cleared" picture of a finished song (red "GAME OVER" under the classic rules).
    picture_rows = {r for col, r, c in cells if c in ("green", "red")}
    if not picture_rows or min(picture_rows) < 6 or max(picture_rows) > 17:
        problems.append("no cleared or game-over picture on rows 7 to 17: %s" % sorted(picture_rows))
    for row in (19, 20):  # the results lines, where the hit-zone lines were
        covered = sum((column, row, "white") in cells for column in range(COLUMNS))
        if not 20 <= covered <= 60:
            problems.append("row %d: %d white columns, not a line of results" % (row, covered))
    return problems


problems = {"start": check_start, "results": check_results, "play": check_play, "calibration": check_calibration}[sys.argv[1]](*lit_pixels(sys.argv[2]))
sys.exit("; ".join(problems) or None)
