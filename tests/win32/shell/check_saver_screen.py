"""Finds the clock faces in a screenshot of the saver: the blobs that stand out from the
background and are about as wide as they are tall and large enough to be a face. Each of the
screens (side by side, equal widths) must show five, in one row or more, none across a seam.
Usage: check_saver_screen.py SHOT.png SCREENS"""
import subprocess
import sys

BACKGROUND = (11, 14, 22)
SCALE = 4  # faces are found on a quarter-size copy


def load(path):
    ppm = subprocess.run(["convert", path, "-sample", "%d%%" % (100 // SCALE), "ppm:-"],
                         check=True, capture_output=True).stdout
    parts = ppm.split(b"\n", 3)  # P6, size, maxval, pixels (convert writes no comments)
    width, height = map(int, parts[1].split())
    return width, height, parts[3]


def blobs(width, height, pixels):
    def lit(i):
        return any(abs(pixels[3 * i + k] - BACKGROUND[k]) > 12 for k in range(3))

    seen = bytearray(width * height)
    found = []
    for start in range(width * height):
        if seen[start] or not lit(start):
            continue
        seen[start] = 1
        stack, xs, ys = [start], [], []
        while stack:
            i = stack.pop()
            x, y = i % width, i // width
            xs.append(x)
            ys.append(y)
            for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if 0 <= nx < width and 0 <= ny < height:
                    j = ny * width + nx
                    if not seen[j] and lit(j):
                        seen[j] = 1
                        stack.append(j)
        found.append((min(xs), min(ys), max(xs), max(ys)))
    return found


def main():
    width, height, pixels = load(sys.argv[1])
    screens = int(sys.argv[2])
    screen_width = width / screens
    faces = []
    for left, top, right, bottom in blobs(width, height, pixels):
        w, h = right - left + 1, bottom - top + 1
        if w >= height * 0.08 and 0.8 <= w / h <= 1.25:
            faces.append((left, top, right, bottom))
    ok = True
    for screen in range(screens):
        x0, x1 = screen * screen_width, (screen + 1) * screen_width
        inside = [f for f in faces if x0 <= f[0] and f[2] < x1]
        if len(inside) != 5:
            print("screen %d: %d faces, expected 5: %r" % (screen, len(inside), inside))
            ok = False
    across = [f for f in faces if any(f[0] < s * screen_width <= f[2] for s in range(1, screens))]
    if across:
        print("faces across a seam: %r" % across)
        ok = False
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
