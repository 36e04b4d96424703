# Writes the wizard's banner and footer artwork as XPM into the current folder.
# The XPM files are committed; run this only to redraw them.
import math

ALPHABET = ".#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"

def code(i):
    return ALPHABET[i // len(ALPHABET)] + ALPHABET[i % len(ALPHABET)]

def smooth(t):
    t = min(max(t, 0.0), 1.0)
    return t * t * (3 - 2 * t)

def write(name, width, height, lo, hi, count, index_at):
    levels = [round(lo + (hi - lo) * i / (count - 1)) for i in range(count)]
    assert len(set(levels)) == count
    rows = []
    used = set()
    for y in range(height):
        row = []
        for x in range(width):
            i = min(max(int(round(index_at(x, y, count - 1))), 0), count - 1)
            used.add(i)
            row.append(code(i))
        rows.append("".join(row))
    assert len(used) == count, (name, sorted(set(range(count)) - used))
    with open(name + ".xpm", "w") as f:
        f.write("/* XPM */\n")
        f.write("static const char* const %s_xpm[] = {\n" % name)
        f.write('"%d %d %d 2",\n' % (width, height, count))
        for i, v in enumerate(levels):
            f.write('"%s c #%02x%02x%02x",\n' % (code(i), v, v, v))
        for n, r in enumerate(rows):
            f.write('"%s"%s\n' % (r, "," if n + 1 < height else ""))
        f.write("};\n")

def banner(x, y, top):
    # Dark bar with a faint sheen; the fade to white starts a little lower
    # towards the right, so the shading line is not perfectly flat.
    u = x / 531.0
    sheen = 6.0 * math.sin(u * math.pi)
    start = 16.0 + 6.0 * u
    fade = smooth((y - start) / (35.0 - start))
    return sheen + (top - sheen) * fade

def footer(x, y, top):
    # Dark bar with a light upper edge that fades quickly into it.
    u = x / 531.0
    body = 5.0 * math.sin(u * math.pi)
    edge = 1.0 - smooth((y + 1.5 * (1.0 - u)) / 5.0)
    return body + (top - body) * edge

write("banner", 532, 36, 0x33, 0xff, 80, banner)
write("footer", 532, 19, 0x0a, 0xff, 77, footer)
