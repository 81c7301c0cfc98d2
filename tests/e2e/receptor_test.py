#!/usr/bin/env python3
"""receptor_test.py RHYTHM: in a terminal of its own (a pseudo-terminal read as the game writes it), the
game's first song is started with key 1; each time a note's arrow is drawn on its receptor, its arrow key
is sent at once. Every one of those presses must be judged "Perfect!". Exit status 0 when they are."""
import os
import pty
import re
import select
import signal
import struct
import sys
import tempfile
import termios
import fcntl
import time

COLUMNS, ROWS = 80, 24
RECEPTOR_ROW = 19
# The middle row of each lane's arrow, its colour, the column of its first character, and the key.
LANES = [("<====", (255, 0, 255), 8, b"\x1b[D"), ("/|\\", (0, 255, 0), 29, b"\x1b[A"),
         ("\\|/", (0, 255, 255), 49, b"\x1b[B"), ("====>", (255, 255, 0), 68, b"\x1b[C")]
PRESSES = 6
SEQUENCE = re.compile(rb"\x1b\[([0-9;?<>]*)([A-Za-z])|\x1b[^\[]")


class Screen:
    """The cells the game has written: characters with their foreground colour."""

    def __init__(self):
        self.cells = [[(" ", None)] * COLUMNS for _ in range(ROWS)]
        self.x = self.y = 0
        self.foreground = None
        self.pending = b""

    def feed(self, data):
        data = self.pending + data
        at = 0
        while at < len(data):
            if data[at] == 0x1b:
                match = SEQUENCE.match(data, at)
                if not match:  # cut off: wait for the rest
                    break
                self.control(match.group(1), match.group(2))
                at = match.end()
            else:
                if 0 <= self.y < ROWS and 0 <= self.x < COLUMNS:
                    self.cells[self.y][self.x] = (chr(data[at]), self.foreground)
                self.x += 1
                at += 1
        self.pending = data[at:]

    def control(self, parameters, final):
        if final == b"H":
            numbers = [int(n) if n else 1 for n in parameters.split(b";")] if parameters else [1, 1]
            self.y, self.x = numbers[0] - 1, (numbers[1] if len(numbers) > 1 else 1) - 1
        elif final == b"m":
            numbers = [int(n) if n else 0 for n in parameters.split(b";")] if parameters else [0]
            i = 0
            while i < len(numbers):
                if numbers[i] == 0:
                    self.foreground = None
                elif numbers[i] == 38 and numbers[i + 1:i + 2] == [2]:
                    self.foreground = tuple(numbers[i + 2:i + 5])
                    i += 4
                elif numbers[i] == 48 and numbers[i + 1:i + 2] == [2]:
                    i += 4
                i += 1
        elif final == b"J" and parameters == b"2":
            self.cells = [[(" ", None)] * COLUMNS for _ in range(ROWS)]

    def shows(self, text):
        return any(text in "".join(ch for ch, _ in row) for row in self.cells)

    def on_receptor(self, lane):
        arrow, colour, column, _ = LANES[lane]
        cells = self.cells[RECEPTOR_ROW][column:column + len(arrow)]
        return "".join(ch for ch, _ in cells) == arrow and all(fg == colour for _, fg in cells)


def main():
    rhythm = sys.argv[1]
    work = tempfile.mkdtemp()
    log = os.path.join(work, "tessera.log")
    with open(os.path.join(work, "ts-config.txt"), "w") as config:
        config.write("random_seed:42,\n")
    env = {"PATH": "/usr/bin:/bin", "TERM": "xterm-256color", "ALSOFT_DRIVERS": "null", "TESSERA_LOG": log,
           "TESSERA_CONFIG": os.path.join(work, "ts-config.txt"), "XDG_CONFIG_HOME": os.path.join(work, "config"),
           "XDG_DATA_HOME": os.path.join(work, "data"), "HOME": work}
    pid, master = pty.fork()
    if pid == 0:
        os.execve(rhythm, [rhythm, "--terminal", "--once"], env)
    fcntl.ioctl(master, termios.TIOCSWINSZ, struct.pack("HHHH", ROWS, COLUMNS, 0, 0))
    os.kill(pid, signal.SIGWINCH)
    screen = Screen()
    started = False
    pressed = 0
    armed = [True] * len(LANES)  # a lane is pressed once per arrow on its receptor
    deadline = time.monotonic() + 60
    while pressed < PRESSES and time.monotonic() < deadline:
        ready, _, _ = select.select([master], [], [], 0.5)
        if not ready:
            continue
        try:
            screen.feed(os.read(master, 65536))
        except OSError:
            break
        if not started and screen.shows("Up/Down: choose a song"):
            os.write(master, b"1")
            started = True
            continue
        for lane in range(len(LANES)):
            if not screen.on_receptor(lane):
                armed[lane] = True
            elif armed[lane] and started:
                os.write(master, LANES[lane][3])
                armed[lane] = False
                pressed += 1
    time.sleep(0.5)
    os.kill(pid, signal.SIGTERM)
    end = time.monotonic() + 10
    while time.monotonic() < end:  # drain the pty so the game can finish writing
        if select.select([master], [], [], 0.2)[0]:
            try:
                os.read(master, 65536)
            except OSError:
                break
        if os.waitpid(pid, os.WNOHANG)[0] == pid:
            break
    with open(log, errors="replace") as text:
        judged = [line[line.index("Timed judgement:"):].strip() for line in text if "Timed judgement:" in line]
    print("\n".join(judged))
    if pressed < PRESSES:
        print("FAIL: only %d arrows were seen on their receptors" % pressed, file=sys.stderr)
        return 1
    if len(judged) < PRESSES or not all("Perfect!" in line for line in judged):
        print("FAIL: the presses on the receptors were not all judged Perfect", file=sys.stderr)
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
