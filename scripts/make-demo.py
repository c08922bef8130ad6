#!/usr/bin/env python3
"""Builds a ready demo start folder for Kavro Start.

Usage: make-demo.py FOLDER [PINNOTES_PROGRAM]

Writes ConFigs/Main.ini and ConFigs/Second.ini (453 lines each), small
programs under Tools/, 16 x 16 pictures under Pictures/, and the sound
files ConFigs/Alarm.wav and ConFigs/Magic.wav. Running it again
rewrites everything it made.
"""
import math
import os
import shutil
import stat
import struct
import sys
import wave

LINES = 453


def bmp24(path, pixels):
    """Writes a 24-bit Windows bitmap; pixels is a list of rows (top first) of (r, g, b)."""
    height = len(pixels)
    width = len(pixels[0])
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (row_size - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


OLIVE = (0, 128, 128)  # the corner colour counts as background


def picture(draw):
    grid = [[OLIVE for _ in range(16)] for _ in range(16)]
    draw(grid)
    return grid


def fill(grid, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            grid[y][x] = colour


def disc(grid, cx, cy, radius, colour):
    for y in range(16):
        for x in range(16):
            if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                grid[y][x] = colour


def star(grid):
    for y in range(16):
        for x in range(16):
            if abs(x - 7.5) + abs(y - 7.5) < 7 and (abs(x - 7.5) < 2 or abs(y - 7.5) < 2 or abs(x - 7.5) + abs(y - 7.5) < 4.5):
                grid[y][x] = (255, 215, 0)


PICTURES = {
    "terminal": lambda g: (fill(g, 1, 2, 14, 13, (0, 0, 0)), fill(g, 1, 2, 14, 3, (128, 128, 128)),
                           fill(g, 3, 6, 5, 6, (0, 255, 0)), fill(g, 4, 7, 6, 7, (0, 255, 0)),
                           fill(g, 3, 8, 5, 8, (0, 255, 0)), fill(g, 7, 10, 11, 10, (0, 255, 0))),
    "hello": lambda g: (disc(g, 7.5, 7.5, 7, (255, 255, 0)), fill(g, 5, 5, 5, 6, (0, 0, 0)),
                        fill(g, 10, 5, 10, 6, (0, 0, 0)), fill(g, 4, 10, 11, 10, (0, 0, 0)),
                        fill(g, 3, 9, 3, 9, (0, 0, 0)), fill(g, 12, 9, 12, 9, (0, 0, 0))),
    "clock": lambda g: (disc(g, 7.5, 7.5, 7, (255, 255, 255)), fill(g, 7, 3, 8, 8, (0, 0, 0)),
                        fill(g, 8, 7, 12, 8, (0, 0, 0))),
    "folder": lambda g: (fill(g, 1, 3, 6, 4, (255, 200, 0)), fill(g, 1, 5, 14, 13, (255, 220, 60)),
                         fill(g, 1, 13, 14, 13, (160, 120, 0))),
    "star": star,
    "heart": lambda g: (disc(g, 5, 5, 3.5, (220, 0, 0)), disc(g, 10, 5, 3.5, (220, 0, 0)),
                        [fill(g, 2 + i // 2 + 1, 7 + i // 2, 13 - i // 2 - 1, 7 + i // 2, (220, 0, 0)) for i in range(10)]),
    "gear": lambda g: (disc(g, 7.5, 7.5, 6, (90, 90, 90)), disc(g, 7.5, 7.5, 2.5, OLIVE),
                       fill(g, 7, 0, 8, 15, (90, 90, 90)), fill(g, 0, 7, 15, 8, (90, 90, 90)),
                       disc(g, 7.5, 7.5, 2.5, OLIVE)),
    "arrow": lambda g: (fill(g, 6, 3, 9, 12, (0, 0, 200)),
                        [fill(g, 7 - i, 3 + i, 8 + i, 3 + i, (0, 0, 200)) for i in range(5)]),
}


def tone(path, notes, rate=22050):
    """A short 16-bit mono wave made of (frequency, seconds) notes."""
    frames = bytearray()
    for frequency, seconds in notes:
        count = int(rate * seconds)
        for i in range(count):
            envelope = min(1.0, i / (rate * 0.01), (count - i) / (rate * 0.02))
            value = 0.0 if frequency == 0 else math.sin(2 * math.pi * frequency * i / rate)
            frames += struct.pack("<h", int(12000 * envelope * value))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def script(path, body):
    with open(path, "w") as f:
        f.write("#!/bin/sh\n" + body + "\n")
    os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH)


def colour(r, g, b):
    """The stored colour value: red in the lowest byte."""
    return str(r | (g << 8) | (b << 16))


def gadget(mode, path, name, back, font, font_colour, picture="", side="2"):
    return [mode, path, name, back, font, font_colour, picture, side]


def none_gadget():
    return gadget("None", "", "", colour(192, 192, 192), "", "0")


def write_menu(path, first_line, gadgets, titles):
    assert len(gadgets) <= 56
    gadgets = gadgets + [none_gadget() for _ in range(56 - len(gadgets))]
    lines = [first_line]
    for g in gadgets:
        lines += g
    lines += titles
    assert len(lines) == LINES, len(lines)
    with open(path, "wb") as f:
        for line in lines:
            f.write(line.encode("utf-8") + b"\r\n")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    root = os.path.abspath(sys.argv[1])
    configs = os.path.join(root, "ConFigs")
    tools = os.path.join(root, "Tools")
    pictures = os.path.join(root, "Pictures")
    for folder in (configs, tools, pictures):
        os.makedirs(folder, exist_ok=True)

    for name, draw in PICTURES.items():
        bmp24(os.path.join(pictures, name + ".bmp"), picture(draw))

    show = 'if command -v xmessage >/dev/null; then xmessage -center "$1"; else echo "$1"; fi'
    script(os.path.join(tools, "say.sh"), show.replace("$1", "$*").replace('"$*"', '"$*"'))
    say = os.path.join(tools, "say.sh")
    script(os.path.join(tools, "hello.sh"), f'exec "{say}" "Hello from Kavro Start!"')
    script(os.path.join(tools, "today.sh"), f'exec "{say}" "Today is $(date +"%A, %d %B %Y, %H:%M")."')
    script(os.path.join(tools, "where.sh"), f'exec "{say}" "I was started in $(pwd)"')
    script(os.path.join(tools, "terminal.sh"),
           'for t in x-terminal-emulator xterm gnome-terminal xfce4-terminal konsole lxterminal; do\n'
           '  command -v "$t" >/dev/null && exec "$t"\ndone\n'
           f'exec "{say}" "No terminal program is installed."')
    script(os.path.join(tools, "system.sh"),
           f'exec "{say}" "$(uname -sr) on $(hostname). Up $(uptime -p 2>/dev/null || uptime)."')
    script(os.path.join(tools, "files.sh"),
           'for t in xdg-open; do command -v "$t" >/dev/null && exec "$t" "$HOME"; done\n'
           f'exec "{say}" "$(ls -1 "$HOME" | head -20)"')

    pic = lambda n: os.path.join(pictures, n + ".bmp")
    main_menu = os.path.join(configs, "Main.ini")
    second_menu = os.path.join(configs, "Second.ini")
    white, black = colour(255, 255, 255), colour(0, 0, 0)
    sans = "MS Sans Serif"

    first = [
        gadget("Run", os.path.join(tools, "terminal.sh"), "Terminal", colour(0, 0, 128), sans, colour(255, 255, 0), pic("terminal"), "0"),
        gadget("Run", os.path.join(tools, "hello.sh"), "Say Hello", colour(255, 255, 0), sans, black, pic("hello"), "1"),
        gadget("Run", os.path.join(tools, "today.sh"), "Today", colour(0, 128, 0), sans, white, pic("clock"), "0"),
        gadget("Run", os.path.join(tools, "where.sh"), "Where am I?", colour(128, 0, 128), sans, white, pic("folder"), "1"),
        gadget("Run", os.path.join(tools, "system.sh"), "System", colour(192, 192, 192), sans, black, pic("gear"), "0"),
        gadget("Run", os.path.join(tools, "files.sh"), "Home Files", colour(0, 128, 128), sans, white, pic("folder"), "0"),
        gadget("Run", "/opt/missing/program", "Missing Exe", colour(128, 0, 0), sans, white),
    ] + [none_gadget() for _ in range(7)]
    column2 = [
        gadget("Menu", second_menu, "More Gadgets", colour(0, 0, 255), sans, white, pic("arrow"), "1"),
        gadget("Menu", os.path.join(configs, "Nowhere.ini"), "Missing Menu", colour(128, 128, 0), sans, white),
        gadget("None", "", "Nothing Here", colour(255, 255, 255), sans, black, pic("star"), "0"),
    ] + [none_gadget() for _ in range(11)]
    column3 = [gadget("None", "", "Favourite %d" % i, colour(255, 160 + 10 * i, 160), sans, black,
                      pic("heart"), str(i % 2)) for i in range(1, 5)] + [none_gadget() for _ in range(10)]
    column4 = [gadget("None", "", "Spare", colour(224, 224, 224), sans, colour(128, 128, 128)) for _ in range(3)] + \
              [none_gadget() for _ in range(11)]
    write_menu(main_menu, "Kavro Start demo menu", first + column2 + column3 + column4,
               ["Programs", "Menus", "Favourites", "Spare"])

    back = [gadget("Menu", main_menu, "Back to Main", colour(0, 0, 128), sans, colour(255, 255, 0), pic("arrow"), "0"),
            gadget("Run", os.path.join(tools, "hello.sh"), "Hello Again", colour(255, 200, 0), sans, black, pic("hello"), "1")]
    write_menu(second_menu, "Kavro Start second menu", back + [none_gadget() for _ in range(54)],
               ["Second Menu", "", "", ""])

    tone(os.path.join(configs, "Alarm.wav"), [(880, 0.25), (0, 0.1), (880, 0.25), (0, 0.1), (880, 0.4)])
    tone(os.path.join(configs, "Magic.wav"), [(523, 0.12), (659, 0.12), (784, 0.12), (1047, 0.3)])

    if len(sys.argv) > 2 and os.path.exists(sys.argv[2]):
        shutil.copy2(sys.argv[2], os.path.join(root, "PinNotes"))
    print(root)


if __name__ == "__main__":
    main()
