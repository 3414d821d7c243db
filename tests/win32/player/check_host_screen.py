"""Checks a screenshot of the player host against the layout the host described, and the
FSCommands the host printed. Usage: check_host_screen.py SHOT.ppm HOST_OUTPUT MOVES_BEFORE"""
import math
import sys

BACKGROUND = (11, 14, 22)
FACE = (22, 28, 42)


def read_ppm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maxval; comments skipped
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P6", fields[0]
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


def main():
    width, height, pixels = read_ppm(sys.argv[1])
    output = open(sys.argv[2], encoding="utf-8").read().splitlines()
    moves_before = int(sys.argv[3])
    failures = []

    def px(x, y):
        i = (int(y) * width + int(x)) * 3
        return tuple(pixels[i:i + 3])

    def near(a, b, tolerance=12):
        return all(abs(p - q) <= tolerance for p, q in zip(a, b))

    clocks = []
    for line in output[output.index(next(l for l in output if l.startswith("frame"))) + 1:]:
        if line == "end":
            break
        if line.startswith("note"):
            failures.append("unexpected note: " + line)
            continue
        head, caption = line.split("|", 1)
        fields = head.split()
        row, cx, cy, r, cl, ct, cw, ch = map(int, fields[:8])
        clocks.append((row, cx, cy, r, cl, ct, cw, ch, caption))
    if [c[0] for c in clocks] != [0, 1, 2, 3, 4]:
        failures.append("rows described: %r" % [c[0] for c in clocks])

    for row, cx, cy, r, cl, ct, cw, ch, caption in clocks:
        # The face: its fill between the ticks and the hands' hub, all around.
        face = sum(near(px(cx + 0.65 * r * math.cos(a / 36 * math.pi),
                           cy + 0.65 * r * math.sin(a / 36 * math.pi)), FACE)
                   for a in range(72))
        if face < 50:
            failures.append("row %d: face found at %d of 72 points" % (row, face))
        # Its rim: not the background just inside the edge, background just outside it.
        rim = sum(not near(px(cx + (r - 1) * math.cos(a / 18 * math.pi),
                              cy + (r - 1) * math.sin(a / 18 * math.pi)), BACKGROUND)
                  for a in range(36))
        outside = sum(near(px(cx + (r + 0.08 * r + 3) * math.cos(a / 18 * math.pi),
                              cy + (r + 0.08 * r + 3) * math.sin(a / 18 * math.pi)), BACKGROUND)
                      for a in range(36))
        if rim < 34 or outside < 34:
            failures.append("row %d: rim %d/36, outside %d/36" % (row, rim, outside))
        # The caption: bright text pixels inside its box.
        text = sum(sum(px(x, y)) > 300 for x in range(cl, cl + cw) for y in range(ct, ct + ch))
        if text < 40:
            failures.append("row %d (%s): %d caption pixels" % (row, caption, text))
        if not caption:
            failures.append("row %d: empty caption" % row)

    # Distinct faces: background between neighbours on the same line.
    for a, b in zip(clocks, clocks[1:]):
        if a[2] == b[2] and not near(px((a[1] + b[1]) / 2, a[2]), BACKGROUND):
            failures.append("rows %d and %d: no gap between the faces" % (a[0], b[0]))
    # The corners are the player's own background.
    for x, y in ((2, 2), (width - 3, 2), (2, height - 3), (width - 3, height - 3)):
        if not near(px(x, y), BACKGROUND, 2):
            failures.append("corner %d,%d is %r" % (x, y, px(x, y)))

    commands = [l.split()[1] for l in output if l.startswith("FSCommand ")]
    moves = commands.count("MOUSEMOVE")
    if moves_before != 0:
        failures.append("%d MOUSEMOVE before any movement" % moves_before)
    if moves != 2:
        failures.append("%d MOUSEMOVE for two movements" % moves)
    if commands.count("KEYDOWN") != 1 or commands.count("KEYUP") != 1:
        failures.append("key commands: %r" % commands)
    if "KEYDOWN" in commands and commands.index("KEYDOWN") > commands.index("KEYUP"):
        failures.append("KEYUP before KEYDOWN")

    for f in failures:
        print("FAIL:", f)
    print("checked %d clocks, commands %r" % (len(clocks), commands))
    sys.exit(1 if failures else 0)


main()
