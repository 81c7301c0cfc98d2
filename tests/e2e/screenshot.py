#!/usr/bin/env python3
"""Checks a screenshot of the game's window (binary PPM) for what a screen
of the game must show. Cells are 12.8 x 32 pixels in the default 1024 x 768
window of 80 x 24 cells.

    screenshot.py start FILE   the title picture, centred
    screenshot.py play FILE    HUD, falling notes, hit-zone lines and stars
"""
import sys

COLUMNS, ROWS = 80, 24


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit("not an 8-bit binary PPM: %s" % path)
    return int(fields[1]), int(fields[2]), data[pos:]


class Screen:
    def __init__(self, path):
        self.width, self.height, self.rgb = read_ppm(path)
        self.cell_w = self.width / COLUMNS
        self.cell_h = self.height / ROWS

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]

    def pixels_in_rows(self, first_row, last_row):
        """Yields (x, y, r, g, b) of every pixel in the cell rows given."""
        y0 = int(first_row * self.cell_h)
        y1 = min(self.height, int((last_row + 1) * self.cell_h))
        for y in range(y0, y1):
            for x in range(self.width):
                r, g, b = self.pixel(x, y)
                yield x, y, r, g, b

    def column_of(self, x):
        return int(x / self.cell_w)


def lit(r, g, b):
    return max(r, g, b) > 100


def kind(r, g, b):
    """The engine colour a glyph pixel comes from, or None for background."""
    if not lit(r, g, b):
        return None
    high = [c > 0.6 * max(r, g, b) for c in (r, g, b)]
    return {(True, True, True): "white", (True, True, False): "yellow", (False, True, False): "green",
            (True, False, True): "magenta", (False, True, True): "cyan", (True, False, False): "red",
            (False, False, True): "blue"}.get(tuple(high))


def check_start(screen):
    xs, ys, colours = [], [], {}
    for x, y, r, g, b in screen.pixels_in_rows(0, ROWS - 1):
        k = kind(r, g, b)
        if k:
            xs.append(x)
            ys.append(y)
            colours[k] = colours.get(k, 0) + 1
    if not xs:
        return ["nothing drawn on the start screen"]
    problems = []
    left, right, top, bottom = min(xs), max(xs), min(ys), max(ys)
    centre_x, centre_y = (left + right) / 2, (top + bottom) / 2
    # The 61 x 17 picture centred on cell (40, 12) spans columns 10 to 70
    # and rows 4 to 20.
    if abs(centre_x - screen.width / 2) > screen.cell_w:
        problems.append("title not centred horizontally: %d..%d" % (left, right))
    if abs(centre_y - 12.5 * screen.cell_h) > screen.cell_h:
        problems.append("title not centred vertically: %d..%d" % (top, bottom))
    if right - left < 55 * screen.cell_w:
        problems.append("title narrower than expected: %d..%d" % (left, right))
    if max(colours, key=colours.get) != "cyan":
        problems.append("title is not mostly cyan: %s" % colours)
    return problems


def check_play(screen):
    problems = []
    # Hit-zone lines: '=' in (nearly) every column of rows 19 and 20.
    for row in (19, 20):
        columns = {screen.column_of(x) for x, y, r, g, b in screen.pixels_in_rows(row, row)
                   if kind(r, g, b) == "white"}
        if len(columns) < COLUMNS - 2:
            problems.append("hit-zone line on row %d covers %d columns" % (row, len(columns)))
    # HUD: white score at the top left, yellow combo at the top right.
    top = [(screen.column_of(x), kind(r, g, b)) for x, y, r, g, b in screen.pixels_in_rows(0, 2)]
    if not any(k == "white" and c < COLUMNS // 3 for c, k in top):
        problems.append("no white score view at the top left")
    if not any(k == "yellow" and c >= 2 * COLUMNS // 3 for c, k in top):
        problems.append("no yellow combo view at the top right")
    # Notes in their lane colours and white stars in the field above the
    # hit zone.
    field = [kind(r, g, b) for x, y, r, g, b in screen.pixels_in_rows(3, 18)]
    if not any(k in ("magenta", "green", "cyan", "yellow") for k in field):
        problems.append("no note in the playing field")
    if "white" not in field:
        problems.append("no star in the playing field")
    return problems


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("start", "play"):
        raise SystemExit(__doc__)
    screen = Screen(sys.argv[2])
    problems = (check_start if sys.argv[1] == "start" else check_play)(screen)
    for problem in problems:
        print("screenshot.py: " + problem)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
