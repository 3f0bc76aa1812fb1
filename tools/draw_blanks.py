#!/usr/bin/env python3
"""Draws the built-in pictures of the certificate window as SVG: the two blank sides of the
registration certificate (302 x 429 px, shown unscaled at 96 DPI) and the sample stamp.

Run from the repository root after changing it:  python3 tools/draw_blanks.py
The output in assets/ is committed; the build only reads the SVG files.

The captions are placed from the labels' built-in positions in millimetres, so that a label's
text starts just right of its caption and sits on the rule of its box.
"""

import math
import os

PX_PER_MM = 96 / 25.4
WIDTH, HEIGHT = 302, 429

# Where the window puts the two blanks and the labels when nothing is stored, in millimetres.
SIDE1_ORIGIN = (124.0, 81.0)
SIDE2_ORIGIN = (210.0, 82.0)
LABELS = {
    0: (172.5083, 115.3583), 1: (134.4083, 117.475), 2: (157.6917, 121.7083),
    4: (157.6917, 125.9417), 5: (184.15, 130.175), 6: (162.9833, 133.35),
    7: (136.525, 182.0333), 8: (136.525, 188.6479), 9: (155.575, 141.8167),
    10: (160.8667, 146.05), 11: (164.0417, 150.2833), 12: (143.9333, 154.5167),
    13: (185.2083, 158.75), 14: (184.15, 162.9833), 15: (158.75, 167.2167),
    16: (170.3917, 167.2167), 17: (176.7417, 176.7417), 36: (146.05, 180.975),
    18: (216.9583, 110.0667), 19: (219.075, 113.2417), 20: (218.0167, 117.475),
    21: (219.075, 121.7083), 22: (218.0167, 128.0583), 23: (260.35, 129.1167),
    24: (216.9583, 134.4083), 25: (225.425, 138.6417), 26: (234.95, 143.9333),
    27: (227.5417, 148.1667), 28: (224.3667, 152.4), 29: (245.5333, 152.4),
    30: (258.2333, 152.4), 31: (216.9583, 159.2792), 32: (216.9583, 162.9833),
    33: (216.9583, 167.2167), 34: (241.3, 176.7417), 35: (241.3, 183.0917),
    37: (219.075, 98.425), 38: (232.8333, 186.2667), 39: (220.1333, 180.975),
}
# Text heights of the labels' built-in fonts in pixels (points x 96 / 72); most are 9.75 pt.
LABEL_PX = {31: 8.0, 32: 8.0, 33: 8.0, 34: 11.0, 39: 11.0, 36: 17.0, 37: 17.0, 38: 16.0}

INK = "#3e3440"          # printed captions
TITLE = "#7b2d3b"        # headings
RULE = "#b08a94"         # rules of the boxes
CAPTION_FONT = "Liberation Sans"
NARROW_FONT = "DejaVu Sans Condensed"
TITLE_FONT = "DejaVu Serif"


def f(v):
    return ("%.2f" % v).rstrip("0").rstrip(".")


def label_box(index, origin):
    """Top-left of a label on its blank, in pixels."""
    left, top = LABELS[index]
    return ((left - origin[0]) * PX_PER_MM, (top - origin[1]) * PX_PER_MM)


def baseline(index, origin):
    """Where the label's text stands: its font's ascent below the label's top (0.83 to 0.93 of the
    text height, as the installed faces go)."""
    x, y = label_box(index, origin)
    return x, y + 0.87 * LABEL_PX.get(index, 13.0)


class Svg:
    def __init__(self):
        self.parts = []

    def add(self, s):
        self.parts.append(s)

    def text(self, x, y, s, size=7.0, anchor="start", family=CAPTION_FONT, fill=INK, weight=None, italic=False):
        attrs = f'x="{f(x)}" y="{f(y)}" font-size="{f(size)}" font-family="{family}" fill="{fill}"'
        if anchor != "start":
            attrs += f' text-anchor="{anchor}"'
        if weight:
            attrs += f' font-weight="{weight}"'
        if italic:
            attrs += ' font-style="italic"'
        s = s.replace("&", "&amp;").replace("<", "&lt;")
        self.add(f'<text {attrs}>{s}</text>')

    def rule(self, x1, x2, y, width=0.6, color=RULE, dash=None):
        extra = f' stroke-dasharray="{dash}"' if dash else ""
        self.add(f'<path d="M{f(x1)} {f(y)}H{f(x2)}" stroke="{color}" stroke-width="{f(width)}"{extra}/>')

    def write(self, path, comment):
        head = ('<?xml version="1.0" encoding="UTF-8"?>\n'
                f'<!-- {comment} Drawn by tools/draw_blanks.py; edit that, not this file. -->\n'
                f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
                f'width="{WIDTH}" height="{HEIGHT}" viewBox="0 0 {WIDTH} {HEIGHT}">\n')
        with open(path, "w", encoding="utf-8") as out:
            out.write(head + "\n".join(self.parts) + "\n</svg>\n")


def wave_path(y0, amplitude, period, phase, x0, x1):
    """A wave from exactly x0 to exactly x1, made of parabolic arcs of half a period each, so
    that it is a chain of smooth quadratic segments; the first and last are cut to length."""
    half = period / 2
    first_node = x0 - ((x0 - phase) % period)
    arcs = []            # (start, control, end) of every arc that touches [x0, x1]
    x, sign = first_node, 1
    while x < x1:
        arcs.append(((x, y0), (x + half / 2, y0 - 2 * sign * amplitude), (x + half, y0)))
        x += half
        sign = -sign

    def lerp(a, b, t):
        return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t)

    def sub(arc, t0, t1):
        p0, c, p1 = arc
        def point(t):
            return lerp(lerp(p0, c, t), lerp(c, p1, t), t)
        # The piece's control point is the blossom of the arc at (t0, t1).
        return point(t0), lerp(lerp(p0, c, t0), lerp(c, p1, t0), t1), point(t1)

    d = []
    whole_before = False
    for arc in arcs:
        t0 = max(0.0, (x0 - arc[0][0]) / half)
        t1 = min(1.0, (x1 - arc[0][0]) / half)
        if t1 <= t0:
            continue
        a, ctrl, b = sub(arc, t0, t1)
        if not d:
            d.append(f"M{f(a[0])} {f(a[1])}")
        whole = t0 == 0 and t1 == 1
        # A whole arc after a whole arc is the mirror of it: the short form says so.
        if whole and whole_before:
            d.append(f"T{f(b[0])} {f(b[1])}")
        else:
            d.append(f"Q{f(ctrl[0])} {f(ctrl[1])} {f(b[0])} {f(b[1])}")
        whole_before = whole
    return "".join(d)


def background(svg, tint, lines1, lines2, seed):
    """Card, its tint and the fine guilloche of a security blank."""
    svg.add('<defs>'
            f'<linearGradient id="tint" x1="0" y1="0" x2="1" y2="1">'
            f'<stop offset="0" stop-color="{tint[0]}"/><stop offset="0.55" stop-color="{tint[1]}"/>'
            f'<stop offset="1" stop-color="{tint[2]}"/></linearGradient>'
            '</defs>')
    svg.add(f'<rect x="0.5" y="0.5" width="{WIDTH - 1}" height="{HEIGHT - 1}" rx="9" fill="url(#tint)" '
            f'stroke="#a88e96" stroke-width="1"/>')
    # Two families of interlaced waves: the lattice that makes a copy on plain paper look wrong.
    # They stay inside the printed frame: nothing may be drawn outside the picture's bounds.
    for colour, offset, shift in ((lines1, 0.0, 0.0), (lines2, 2.9, 11.5)):
        paths = []
        for i in range(0, 74):
            y = 12 + offset + i * 5.8
            if y > HEIGHT - 12:
                break
            paths.append(wave_path(y, 2.2, 23.0, (i * 3.1 + seed + shift) % 23.0, 9, WIDTH - 9))
        svg.add(f'<path d="{"".join(paths)}" fill="none" stroke="{colour}" stroke-width="0.4"/>')


def rosette(svg, cx, cy, r_big, r_small, d, turns, color, width=0.35, opacity=None):
    """A spirograph rosette (hypotrochoid) as one polyline."""
    pts = []
    steps = 56 * turns
    for k in range(steps + 1):
        t = 2 * math.pi * turns * k / steps
        x = (r_big - r_small) * math.cos(t) + d * math.cos((r_big - r_small) / r_small * t)
        y = (r_big - r_small) * math.sin(t) - d * math.sin((r_big - r_small) / r_small * t)
        pts.append(f"{f(cx + x)} {f(cy + y)}")
    op = f' stroke-opacity="{opacity}"' if opacity else ""
    svg.add(f'<path d="M{"L".join(pts)}Z" fill="none" stroke="{color}" stroke-width="{width}"{op}/>')


def microprint(svg, words, color):
    """A line of tiny repeated text along the top and bottom edges, between the edge and the
    frame: a dotted line to the eye, words under a glass, and lost on a copier. Each
    repetition is placed on its own, so that the line ends before the corners whatever the
    face's exact widths. The long edges get a fine twisted cord instead: turned text is drawn
    glyph by glyph as outlines, which would make every repaint of the blank slow."""
    size = 2.3
    unit = words + " •"
    pitch = (len(unit) + 1) * size * 0.66
    runs = (
        (14, 3.9, 0, WIDTH - 28),                  # top, left to right
        (14, HEIGHT - 2.1, 0, WIDTH - 28),         # bottom
    )
    for x, y, angle, length in runs:
        count = int(length // pitch)
        for k in range(count):
            attrs = f'font-size="{size}" font-family="{CAPTION_FONT}" fill="{color}"'
            svg.add(f'<text x="{f(x + k * pitch)}" y="{f(y)}" {attrs}>{unit}</text>')
    cords = []
    for x in (2.8, WIDTH - 2.8):
        for phase in (0.0, 2.0):
            # A horizontal wave along y = 0, turned to run down the edge.
            d = wave_path(0, 0.9, 4.0, phase, 14, HEIGHT - 14)
            cords.append(f'<path d="{d}" transform="translate({f(x)} 0) rotate(90)"/>')
    svg.add(f'<g fill="none" stroke="{color}" stroke-width="0.35">{"".join(cords)}</g>')


def frame(svg, color):
    """The printed double frame inside the card's edge."""
    svg.add(f'<rect x="5" y="5" width="{WIDTH - 10}" height="{HEIGHT - 10}" rx="6" fill="none" '
            f'stroke="{color}" stroke-width="1.2"/>')
    svg.add(f'<rect x="7.5" y="7.5" width="{WIDTH - 15}" height="{HEIGHT - 15}" rx="4.5" fill="none" '
            f'stroke="{color}" stroke-width="0.4"/>')


RIGHT = WIDTH - 12    # where rules end
LEFT = 12             # where captions start


def field(svg, index, origin, caption=None, rule_to=RIGHT, caption_at=LEFT, size=7.0,
          anchor="start", lift=0.0, family=CAPTION_FONT):
    """A box: its caption on the label's baseline and a rule under the label's text."""
    x, y = baseline(index, origin)
    if caption:
        if anchor == "end":
            svg.text(x - 4, y - lift, caption, size=size, anchor="end", family=family)
        else:
            svg.text(caption_at, y - lift, caption, size=size, family=family)
    if rule_to:
        svg.rule(x - 2, rule_to, y + 2.6)


def side1():
    o = SIDE1_ORIGIN
    svg = Svg()
    background(svg, ("#f8efe9", "#f3e6e4", "#efe9e1"), "#e6cfd2", "#d3e2d6", 0)
    rosette(svg, 151, 250, 96, 37, 58, 37, "#dcc3c9", opacity="0.8")
    rosette(svg, 151, 250, 44, 17, 26, 17, "#c9dccf")
    frame(svg, "#9c6f7b")
    microprint(svg, "РОССИЙСКАЯ ФЕДЕРАЦИЯ", "#a57f89")

    # Heading.
    svg.text(151, 24, "РОССИЙСКАЯ ФЕДЕРАЦИЯ", size=7.5, anchor="middle", fill=TITLE, weight="bold")
    svg.rule(70, 232, 29.5, width=0.5, color="#9c6f7b")
    svg.text(151, 52, "СВИДЕТЕЛЬСТВО", size=17, anchor="middle", family=TITLE_FONT, fill=TITLE, weight="bold")
    svg.text(151, 66, "О РЕГИСТРАЦИИ ТРАНСПОРТНОГО СРЕДСТВА", size=7.6, anchor="middle", fill=TITLE,
             weight="bold")
    svg.text(151, 78, "CERTIFICAT D'IMMATRICULATION", size=6.4, anchor="middle", fill="#8a6470",
             italic=True)
    # A band for the card's own serial, as the paper blank carries it.
    svg.add('<rect x="40" y="90" width="222" height="20" rx="3" fill="#ffffff" fill-opacity="0.45" '
            'stroke="#c5a3ac" stroke-width="0.6"/>')
    svg.text(151, 103.5, "ДАННЫЕ ТРАНСПОРТНОГО СРЕДСТВА", size=7, anchor="middle", fill=TITLE,
             family=NARROW_FONT)

    # The plate's caption stands a little high: the VIN's text comes close under it.
    field(svg, 0, o, "Регистрационный знак", lift=3.5)
    field(svg, 1, o, "VIN", rule_to=label_box(0, o)[0] - 6, family=CAPTION_FONT)
    field(svg, 2, o, "Марка, модель")
    field(svg, 4, o, "Тип ТС")
    field(svg, 5, o, "Категория ТС")
    field(svg, 6, o, "Год выпуска ТС", rule_to=label_box(5, o)[0] + 40)
    # A box this program does not fill: the operator writes it by hand if it applies.
    y_eco = baseline(6, o)[1] + 15
    svg.text(LEFT, y_eco, "Экологический класс", size=7)
    svg.rule(98, RIGHT, y_eco + 2.6)
    field(svg, 9, o, "Шасси (рама) №")
    field(svg, 10, o, "Кузов (кабина, прицеп) №")
    field(svg, 11, o, "Цвет")
    # Too little room before the power's text: the caption takes two short lines.
    x12, y12 = baseline(12, o)
    svg.text(LEFT, y12 - 6.2, "Мощность двигателя,", size=5.8, family=NARROW_FONT)
    svg.text(LEFT, y12, "кВт / л. с.", size=5.8, family=NARROW_FONT)
    svg.rule(x12 - 2, RIGHT, y12 + 2.6)
    field(svg, 13, o, "Рабочий объем двигателя, см³")
    field(svg, 14, o, "Паспорт ТС        серия")
    field(svg, 15, o, "номер паспорта ТС", rule_to=label_box(16, o)[0] - 4)
    # The permitted mass shares the passport's row; its caption is printed under its rule.
    x16, y16 = baseline(16, o)
    svg.rule(x16 - 2, RIGHT, y16 + 2.6)
    svg.text(x16, y16 + 9.5, "разрешенная max масса, кг", size=5.8, family=NARROW_FONT, italic=True)
    field(svg, 17, o, "Масса без нагрузки, кг")

    # Engine model and number: a small box at the foot, left of the card's own number.
    x7, y7 = baseline(7, o)
    x8, y8 = baseline(8, o)
    svg.text(LEFT, y7 - 5.6, "Модель", size=5.6, family=NARROW_FONT)
    svg.text(LEFT, y7, "двигателя", size=5.6, family=NARROW_FONT)
    svg.rule(x7 - 2, x7 + 30, y7 + 2.6)
    svg.text(LEFT, y8 - 5.6, "Номер", size=5.6, family=NARROW_FONT)
    svg.text(LEFT, y8, "двигателя", size=5.6, family=NARROW_FONT)
    svg.rule(x8 - 2, RIGHT, y8 + 2.6)
    # The card's series and number, printed in red by the program.
    x36, y36 = label_box(36, o)
    svg.add(f'<rect x="{f(x36 - 1.5)}" y="{f(y36 - 1)}" width="{f(RIGHT - x36 + 1.5)}" height="21" rx="3" '
            'fill="#ffffff" fill-opacity="0.35" stroke="#c5a3ac" stroke-width="0.5"/>')
    return svg


def side2():
    o = SIDE2_ORIGIN
    svg = Svg()
    background(svg, ("#eef2ea", "#f4ece8", "#f1e8e6"), "#d6e3d8", "#e7d3d6", 7)
    rosette(svg, 151, 215, 100, 41, 61, 41, "#cfdfd3", opacity="0.85")
    rosette(svg, 151, 215, 40, 13, 22, 13, "#e0c9ce")
    frame(svg, "#7f7a6c")
    microprint(svg, "СВИДЕТЕЛЬСТВО О РЕГИСТРАЦИИ ТС", "#8f8a7c")

    svg.text(151, 22, "СВИДЕТЕЛЬСТВО О РЕГИСТРАЦИИ ТС", size=8, anchor="middle", fill=TITLE, weight="bold")
    svg.text(151, 32, "CERTIFICAT D'IMMATRICULATION", size=6, anchor="middle", fill="#8a6470", italic=True)
    svg.rule(40, 262, 37, width=0.5, color="#9c6f7b")
    # The card's series and number, printed in red by the program.
    x37, y37 = label_box(37, o)
    svg.text(x37, y37 - 4, "Серия, номер свидетельства", size=5.8, family=NARROW_FONT, fill="#8a6470")
    svg.add(f'<rect x="{f(x37 - 4)}" y="{f(y37 - 1)}" width="{f(RIGHT - x37 + 4)}" height="21" rx="3" '
            'fill="#ffffff" fill-opacity="0.35" stroke="#c5a3ac" stroke-width="0.5"/>')

    # Owner: surname and name each with their Latin spelling right under them.
    svg.text(LEFT, baseline(18, o)[1] - 14.5, "Собственник (владелец)", size=7.4, fill=TITLE, weight="bold")
    x18, y18 = baseline(18, o)
    svg.text(LEFT, y18 - 1, "Ф.", size=6, family=NARROW_FONT, fill="#8a6470")
    x19, y19 = baseline(19, o)
    svg.rule(x18 - 2, RIGHT, y19 + 2.6)
    x20, y20 = baseline(20, o)
    svg.text(LEFT, y20 - 1, "И.", size=6, family=NARROW_FONT, fill="#8a6470")
    x21, y21 = baseline(21, o)
    svg.rule(x20 - 2, RIGHT, y21 + 2.6)
    x22, y22 = baseline(22, o)
    svg.text(LEFT, y22 - 1, "О.", size=6, family=NARROW_FONT, fill="#8a6470")
    x23, y23 = baseline(23, o)
    svg.rule(x22 - 2, x23 - 8, y22 + 2.6)
    # The region starts far right on the patronymic's row: its caption stands above its box.
    svg.text(RIGHT, y23 - 12.5, "Республика, край, область", size=6.2, anchor="end", family=NARROW_FONT)
    svg.rule(x23 - 2, RIGHT, y23 + 2.6)
    field(svg, 24, o)
    field(svg, 25, o, "Район")
    field(svg, 26, o, "Населенный пункт")
    field(svg, 27, o, "Улица")
    x29 = label_box(29, o)[0]
    x30 = label_box(30, o)[0]
    field(svg, 28, o, "Дом", rule_to=x29 - 22)
    field(svg, 29, o, "корп.", anchor="end", rule_to=x30 - 16)
    field(svg, 30, o, "кв.", anchor="end")
    # Special notes: three lines in small print under their heading.
    x31, y31 = baseline(31, o)
    svg.text(LEFT, y31 - 9, "Особые отметки", size=7)
    for i in (31, 32, 33):
        x, y = baseline(i, o)
        svg.rule(x - 2, RIGHT, y + 2.4, dash="1.2 1")
    # Issued by: two lines of the unit, then the date.
    field(svg, 34, o, "Выдано ГИБДД")
    x39, y39 = baseline(39, o)
    x35, y35 = baseline(35, o)
    svg.rule(x39 - 2, x35 - 6, y39 + 2.4)
    svg.text(x35 - 4, y35, "Дата выдачи", size=7, anchor="end")
    svg.rule(x35 - 2, RIGHT, y35 + 2.6)
    # Places for the signature and the stamp.
    svg.text(RIGHT, y31 + 40, "Подпись", size=5.8, anchor="end", family=NARROW_FONT, fill="#8a6470")
    svg.text(30, 352, "М.П.", size=7, family=NARROW_FONT, fill="#8a6470")
    return svg


def stamp(path):
    """The sample round stamp, 144 px across (38 mm at 96 DPI)."""
    size = 144
    c = size / 2
    ink = "#4b3fa6"
    parts = []
    parts.append(f'<circle cx="{c}" cy="{c}" r="69" fill="none" stroke="{ink}" stroke-width="2.6"/>')
    parts.append(f'<circle cx="{c}" cy="{c}" r="65.6" fill="none" stroke="{ink}" stroke-width="0.9"/>')
    parts.append(f'<circle cx="{c}" cy="{c}" r="50" fill="none" stroke="{ink}" stroke-width="1.4"/>')
    parts.append(f'<circle cx="{c}" cy="{c}" r="35" fill="none" stroke="{ink}" stroke-width="0.8"/>')

    def ring_text(text, radius, size, start_deg, weight="bold", family="DejaVu Sans Condensed"):
        # QtSvg has no text on a path: every letter is placed and turned on its own. The letters
        # are spread to close the ring, as a stamp maker spaces them.
        widths = [char_width(ch) * size for ch in text]
        spread = 2 * math.pi * radius / sum(widths)
        widths = [w * spread for w in widths]
        angle = math.radians(start_deg) - widths[0] / 2 / radius
        out = []
        for ch, w in zip(text, widths):
            mid = angle + (w / 2) / radius
            if ch != " ":
                x = c + radius * math.sin(mid)
                y = c - radius * math.cos(mid)
                out.append(f'<text x="0" y="0" font-family="{family}" font-size="{f(size)}" font-weight="{weight}" '
                           f'fill="{ink}" text-anchor="middle" '
                           f'transform="translate({f(x)} {f(y)}) rotate({f(math.degrees(mid))})">{ch}</text>')
            angle += w / radius
        return out

    outer = "ОТДЕЛ РЕГИСТРАЦИИ ТРАНСПОРТНЫХ СРЕДСТВ ★ ОБРАЗЕЦ ★ "
    parts += ring_text(outer, 55.5, 9.4, 212, weight="bold")
    inner = "ДЛЯ ДОКУМЕНТОВ ★ ДЛЯ ДОКУМЕНТОВ ★ "
    parts += ring_text(inner, 39.4, 10.0, 232, weight="normal")
    parts.append(f'<text x="{c}" y="{c - 4}" font-family="DejaVu Sans" font-size="8.4" font-weight="bold" '
                 f'fill="{ink}" text-anchor="middle">ОБРАЗЕЦ</text>')
    parts.append(f'<path d="M{c - 22} {c + 1.5}H{c + 22}" stroke="{ink}" stroke-width="0.8"/>')
    parts.append(f'<text x="{c}" y="{c + 12}" font-family="DejaVu Sans Condensed" font-size="8" '
                 f'fill="{ink}" text-anchor="middle">№ 1</text>')
    parts.append(f'<text x="{c}" y="{c + 24}" font-family="DejaVu Sans" font-size="9" fill="{ink}" '
                 'text-anchor="middle">★</text>')
    head = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- The sample round stamp. Drawn by tools/draw_blanks.py; edit that, not this file. -->\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{size}" height="{size}" viewBox="0 0 {size} {size}">\n')
    with open(path, "w", encoding="utf-8") as out:
        out.write(head + "\n".join(parts) + "\n</svg>\n")


def char_width(ch):
    """Advance of a capital of DejaVu Sans Condensed Bold, in ems; close enough to space a ring."""
    if ch == " ":
        return 0.33
    if ch in "Г":
        return 0.6
    if ch in "ЖШЩМЮФЫ":
        return 0.9
    if ch == "★":
        return 0.85
    if ch in "ИНПДОСТЕРАВЗЬЛЯУКЦЧ":
        return 0.7
    return 0.7


def catmull_rom(points, step=0.6):
    """A smooth curve through the points, sampled about every `step` pixels."""
    pts = [points[0]] + points + [points[-1]]
    out = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        n = max(2, int(math.dist(p1, p2) / step))
        for k in range(n):
            t = k / n
            t2, t3 = t * t, t * t * t
            out.append(tuple(0.5 * ((2 * p1[j]) + (-p0[j] + p2[j]) * t + (2 * p0[j] - 5 * p1[j] + 4 * p2[j] - p3[j]) * t2
                                    + (-p0[j] + 3 * p1[j] - 3 * p2[j] + p3[j]) * t3) for j in (0, 1)))
    out.append(points[-1])
    return out


def pen_stroke(points, thin, thick, nib_deg=-35.0, taper=14.0):
    """A stroke of a pen held at an angle: broad where it moves across the nib, thin along it,
    and drawn out fine at both ends. Returned as quadrilaterals of one winding, so that where
    the stroke crosses itself the ink simply adds up."""
    curve = catmull_rom(points)
    length = [0.0]
    for a, b in zip(curve, curve[1:]):
        length.append(length[-1] + math.dist(a, b))
    total = length[-1]
    nib = math.radians(nib_deg)
    sides = []
    for i, p in enumerate(curve):
        a = curve[max(0, i - 1)]
        b = curve[min(len(curve) - 1, i + 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        norm = math.hypot(dx, dy) or 1.0
        dx, dy = dx / norm, dy / norm
        across = abs(math.sin(math.atan2(dy, dx) - nib))
        ends = min(1.0, length[i] / taper, (total - length[i]) / (taper * 1.6))
        w = (thin + (thick - thin) * across) * (0.35 + 0.65 * ends)
        nx, ny = -dy * w / 2, dx * w / 2
        sides.append(((p[0] + nx, p[1] + ny), (p[0] - nx, p[1] - ny)))
    d = []
    for (l1, r1), (l2, r2) in zip(sides, sides[1:]):
        d.append(f"M{f(l1[0])} {f(l1[1])}L{f(l2[0])} {f(l2[1])}L{f(r2[0])} {f(r2[1])}L{f(r1[0])} {f(r1[1])}Z")
    return "".join(d)


def signature(path):
    """The sample signature, 113 x 57 px (30 x 15 mm at 96 DPI): a capital, a run of small
    letters and an underline thrown back to the left."""
    ink = "#18236b"
    capital = [(12, 41), (15, 27), (19, 13), (24, 8), (28, 11), (27, 19), (20, 26), (29, 26), (34, 33),
               (31, 41), (22, 44), (14, 41), (12, 36)]
    letters = [(25, 35), (31, 31), (35, 26), (37, 33), (38, 37), (42, 28), (45, 24), (46, 33),
               (48, 36), (52, 26), (55, 23), (56, 32), (58, 35), (62, 27), (65, 22), (67, 30),
               (69, 34), (73, 30), (77, 18), (79, 13), (80, 21), (79, 34), (84, 31), (89, 27),
               (93, 31), (97, 28), (103, 22), (106, 25), (101, 35), (86, 42), (62, 46), (38, 48),
               (18, 50), (7, 49)]
    parts = [pen_stroke(capital, 0.7, 2.3), pen_stroke(letters, 0.6, 2.0)]
    head = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- The sample signature. Drawn by tools/draw_blanks.py; edit that, not this file. -->\n'
            '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            'width="113" height="57" viewBox="0 0 113 57">\n')
    body = "".join(f'<path d="{d}" fill="{ink}"/>\n' for d in parts)
    with open(path, "w", encoding="utf-8") as out:
        out.write(head + body + "</svg>\n")


if __name__ == "__main__":
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")
    side1().write(os.path.join(root, "blank1.svg"), "Front of the vehicle registration certificate, blank.")
    side2().write(os.path.join(root, "blank2.svg"), "Back of the vehicle registration certificate, blank.")
    stamp(os.path.join(root, "pechat.svg"))
    signature(os.path.join(root, "podpis.svg"))
