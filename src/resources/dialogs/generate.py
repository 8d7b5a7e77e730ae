#!/usr/bin/env python3
"""Writes the dialogs' pictures as SVG files into this folder.

The staves, clefs and note values share one geometry, so they are generated rather than
drawn by hand; edit this script and run it again to change them. Only SVG Tiny features are
used (no markers, masks or CSS), since that is what the dialogs' renderer reads.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
INK = "#1a1a1a"
GREY = "#a0a0a0"
BLUE = "#2f5fc4"

# Staff geometry shared by the staff pictures and the clef pictures.
GAP = 12             # between staff lines
STEP = GAP / 2       # one diatonic step
TOP_LINE = 58        # y of the top line
HEIGHT = 140         # picture height
COLUMN = 32          # one note per column
NOTES = 14


def lines_y():
    return [TOP_LINE + i * GAP for i in range(5)]


def write(name, width, height, body):
    svg = (f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
           f'width="{width}" height="{height}" viewBox="0 0 {width} {height}">\n{body}</svg>\n')
    with open(os.path.join(HERE, name), "w") as f:
        f.write(svg)


def staff_lines(x0, x1):
    return "".join(f'<line x1="{x0}" y1="{y}" x2="{x1}" y2="{y}" stroke="{INK}" '
                   f'stroke-width="1.4"/>\n' for y in lines_y())


def whole_note(cx, cy, colour):
    # A whole note: a wide head with a slanted hollow.
    return (f'<g transform="translate({cx},{cy})">'
            f'<ellipse rx="8" ry="5.6" fill="{colour}"/>'
            f'<ellipse rx="4.2" ry="2.6" transform="rotate(-40)" fill="#ffffff"/></g>\n')


def ledger(cx, cy, colour):
    return (f'<line x1="{cx - 12.5}" y1="{cy}" x2="{cx + 12.5}" y2="{cy}" stroke="{colour}" '
            f'stroke-width="1.4"/>\n')


def staff(clef, folded):
    # Step 0 is the top line; positive steps go down. The fourteen naturals from C.
    bottom_step = 8
    if clef == "treble":
        first = bottom_step + 2    # C4 is one step under the ledger line below E4
    else:
        first = bottom_step + 4    # C2 sits on the second ledger line under G2
    if folded:
        # The upper octave in grey: in Voice mode only the name counts, not the octave.
        half = COLUMN * NOTES / 2
        body = staff_lines(0, half) + staff_lines(half, COLUMN * NOTES).replace(INK, GREY)
    else:
        body = staff_lines(0, COLUMN * NOTES)
    for k in range(NOTES):
        step = first - k
        cx = COLUMN * k + COLUMN / 2
        cy = TOP_LINE + step * STEP
        colour = GREY if folded and k >= 7 else INK
        # Ledger lines on every line position outside the staff, between the note and the staff.
        for s in range(10, step + 1, 2):
            body += ledger(cx, TOP_LINE + s * STEP, colour)
        for s in range(-2, step - 1, -2):
            body += ledger(cx, TOP_LINE + s * STEP, colour)
        body += whole_note(cx, cy, colour)
    if folded:
        # An arc from the upper octave back onto the lower one.
        x0, x1, y = 11 * COLUMN, 4 * COLUMN, 26
        body += (f'<path d="M {x0} {y} C {x0 - 60} {y - 26}, {x1 + 60} {y - 26}, {x1 + 6} {y - 2}" '
                 f'fill="none" stroke="{BLUE}" stroke-width="3"/>\n')
        body += f'<polygon points="{x1 - 4},{y + 4} {x1 + 14},{y + 2} {x1 + 4},{y - 10}" fill="{BLUE}"/>\n'
    return body


TREBLE_PATH = ("M 31 98 C 25 101, 20 96, 22 90 C 24 84, 34 83, 37 90 C 40 98, 33 107, 25 106 "
               "C 15 105, 11 95, 14 86 C 17 76, 28 70, 33 59 C 37 50, 37 40, 32 36 "
               "C 27 33, 23 42, 24 52 C 25 70, 29 100, 30 118 C 30.5 126, 23 129, 20 123")


def treble_clef(dx=0, dy=0):
    return (f'<g transform="translate({dx},{dy})">'
            f'<path d="{TREBLE_PATH}" fill="none" stroke="{INK}" stroke-width="3.2" '
            f'stroke-linecap="round" stroke-linejoin="round"/>'
            f'<circle cx="22" cy="122" r="3.6" fill="{INK}"/></g>\n')


def bass_clef(dx=0, dy=0):
    f_line = TOP_LINE + GAP
    return (f'<g transform="translate({dx},{dy})">'
            f'<circle cx="14" cy="{f_line}" r="4.6" fill="{INK}"/>'
            f'<path d="M 10 {f_line - 1} C 10 {f_line - 17}, 40 {f_line - 19}, 41 {f_line - 1} '
            f'C 42 {f_line + 17}, 28 {f_line + 31}, 9 {f_line + 38} L 8.5 {f_line + 36} '
            f'C 24 {f_line + 27}, 33 {f_line + 15}, 33 {f_line - 1} '
            f'C 33 {f_line - 13}, 18 {f_line - 13}, 14 {f_line - 4} Z" fill="{INK}"/>'
            f'<circle cx="48" cy="{f_line - 6}" r="2.8" fill="{INK}"/>'
            f'<circle cx="48" cy="{f_line + 6}" r="2.8" fill="{INK}"/></g>\n')


def clef_on_staff(clef):
    width = 60
    body = staff_lines(0, width)
    body += f'<line x1="1" y1="{TOP_LINE}" x2="1" y2="{TOP_LINE + 4 * GAP}" stroke="{INK}" stroke-width="1.6"/>\n'
    body += treble_clef(6) if clef == "treble" else bass_clef(4)
    return width, body


def clef_icon(clef):
    # The clef alone on a short staff, for the clef choice; the picture is cut to the clef.
    width, top, height = 56, 30, 102
    body = f'<g transform="translate(0,{-top})">' + staff_lines(2, width - 2)
    body += (treble_clef(4) if clef == "treble" else bass_clef(2)) + "</g>\n"
    return width, height, body


def note_values():
    # Whole, half, quarter, eighth, sixteenth, thirty-second, sixty-fourth; stems up.
    width, height, base = 36, 64, 52
    body = ""
    for k in range(7):
        cx = width * k + 16
        hollow = k < 2
        body += (f'<g transform="translate({cx},{base})"><ellipse rx="6.4" ry="4.6" '
                 f'transform="rotate(-22)" fill="{INK}"/>')
        if hollow:
            hole_rx = 3.6 if k == 0 else 4.2
            hole_angle = -40 if k == 0 else -22
            body += (f'<ellipse rx="{hole_rx}" ry="2.1" transform="rotate({hole_angle})" '
                     f'fill="#ffffff"/>')
        body += "</g>\n"
        if k == 0:
            continue
        flags = max(0, k - 2)
        sx = cx + 5.8
        top = base - 40 if flags < 4 else base - 46
        body += (f'<line x1="{sx}" y1="{base - 1.5}" x2="{sx}" y2="{top}" stroke="{INK}" '
                 f'stroke-width="1.6"/>\n')
        for f in range(flags):
            y = top + f * 6
            body += (f'<path d="M {sx} {y} C {sx + 1} {y + 6}, {sx + 10} {y + 8}, {sx + 8} {y + 16} '
                     f'C {sx + 9} {y + 10}, {sx + 3} {y + 8}, {sx} {y + 5} Z" fill="{INK}"/>\n')
    return width * 7, height, body


def small_staff(x0, x1, top, gap=6):
    return "".join(f'<line x1="{x0}" y1="{top + i * gap}" x2="{x1}" y2="{top + i * gap}" '
                   f'stroke="{INK}" stroke-width="1"/>\n' for i in range(5))


def small_note(cx, cy, colour=INK):
    return f'<ellipse cx="{cx}" cy="{cy}" rx="4.2" ry="3.1" fill="{colour}"/>\n'


def arrow(x0, y0, x1, y1, colour=BLUE, width=2.2, head=5):
    angle = math.atan2(y1 - y0, x1 - x0)
    bx, by = x1 - head * math.cos(angle), y1 - head * math.sin(angle)
    px, py = -math.sin(angle) * head * 0.7, math.cos(angle) * head * 0.7
    return (f'<line x1="{x0}" y1="{y0}" x2="{bx:.2f}" y2="{by:.2f}" stroke="{colour}" '
            f'stroke-width="{width}"/>'
            f'<polygon points="{x1},{y1} {bx + px:.2f},{by + py:.2f} {bx - px:.2f},{by - py:.2f}" '
            f'fill="{colour}"/>\n')


def intervals():
    # Sounded together, ascending, descending: three panels of equal width.
    w, h = 44, 48
    body = ""
    for k in range(3):
        x0 = k * w
        body += small_staff(x0 + 4, x0 + w - 4, 12)
        if k == 0:
            body += small_note(x0 + 22, 33) + small_note(x0 + 22, 21)
        elif k == 1:
            body += small_note(x0 + 13, 33) + small_note(x0 + 31, 21)
            body += arrow(x0 + 12, 44, x0 + 32, 38)
        else:
            body += small_note(x0 + 13, 21) + small_note(x0 + 31, 33)
            body += arrow(x0 + 12, 38, x0 + 32, 44)
    return 3 * w, h, body


def mouse(cx, cy, wheel_colour=INK):
    return (f'<rect x="{cx - 6}" y="{cy - 9}" width="12" height="18" rx="6" ry="6" fill="#ffffff" '
            f'stroke="{INK}" stroke-width="1.3"/>'
            f'<line x1="{cx}" y1="{cy - 9}" x2="{cx}" y2="{cy - 2}" stroke="{INK}" stroke-width="1"/>'
            f'<rect x="{cx - 1.3}" y="{cy - 7}" width="2.6" height="4.5" rx="1.2" fill="{wheel_colour}"/>\n')


def chord(cx, top, colour=INK):
    return small_note(cx, top + 21, colour) + small_note(cx, top + 15, colour) + small_note(cx, top + 9, colour)


def chords():
    # A chord moved up and down with the mouse; a chord changed with the mouse wheel.
    w, h = 56, 48
    body = small_staff(4, w - 4, 10) + small_staff(w + 4, 2 * w - 4, 10)
    body += chord(16, 6) + arrow(29, 26, 29, 6) + arrow(29, 26, 29, 46) + mouse(44, 30)
    body += chord(w + 14, 6, GREY)
    body += small_note(w + 24, 27) + small_note(w + 24, 15) + small_note(w + 24, 9)
    body += (f'<path d="M {w + 36} 14 C {w + 44} 4, {w + 52} 12, {w + 48} 18" fill="none" '
             f'stroke="{BLUE}" stroke-width="2"/>')
    body += f'<polygon points="{w + 45},{20} {w + 51},{21} {w + 50},{14}" fill="{BLUE}"/>\n'
    body += mouse(w + 44, 34, BLUE)
    return 2 * w, h, body


def head(dx=0):
    # A head in profile facing right.
    return (f'<path transform="translate({dx},0)" d="M 12 46 L 12 38 C 4 33, 3 17, 11 10 '
            f'C 19 3, 34 4, 38 15 L 40 21 L 44 26 L 40 27.5 L 41 31 L 39 32.5 L 40 35.5 '
            f'C 39 39, 34 39.5, 30 39 L 30 46 Z" fill="#4a4a4a"/>\n')


def speaking():
    body = head()
    for r in (6, 11, 16):
        a0, a1 = math.radians(-40), math.radians(40)
        x0, y0 = 44 + r * math.cos(a0), 31 + r * math.sin(a0)
        x1, y1 = 44 + r * math.cos(a1), 31 + r * math.sin(a1)
        body += (f'<path d="M {x0:.2f} {y0:.2f} A {r} {r} 0 0 1 {x1:.2f} {y1:.2f}" fill="none" '
                 f'stroke="{BLUE}" stroke-width="2" stroke-linecap="round"/>\n')
    return 64, 48, body


def wind_player():
    body = head()
    body += '<polygon points="40,30 58,42 62,38 63,47 52,47 56,44 39,33" fill="#2b2b2b"/>\n'
    for t in (0.35, 0.55, 0.75):
        x, y = 40 + 18 * t, 31.5 + 12 * t
        body += f'<circle cx="{x:.1f}" cy="{y:.1f}" r="1.1" fill="#d9c27a"/>\n'
    return 64, 48, body


def sine():
    points = " ".join(f"{4 + i * 0.5:.1f},{20 - 12 * math.sin(i * 0.5 * 2 * math.pi / 28):.2f}"
                      for i in range(113))
    body = f'<line x1="2" y1="20" x2="62" y2="20" stroke="{GREY}" stroke-width="1"/>\n'
    body += f'<polyline points="{points}" fill="none" stroke="{BLUE}" stroke-width="2.2"/>\n'
    body += (f'<text x="32" y="44" font-family="sans-serif" font-size="12" font-weight="bold" '
             f'text-anchor="middle" fill="{INK}">440 Hz</text>\n')
    return 64, 48, body


def tortoise():
    body = ('<path d="M 4 15 C 5 4, 21 2, 24 15 Z" fill="#5b8a3c" stroke="#2e4d1c" stroke-width="1"/>'
            '<path d="M 9 14 L 11 8 L 17 8 L 19 14 M 11 8 L 14 4 L 17 8" fill="none" '
            'stroke="#2e4d1c" stroke-width="1"/>'
            '<ellipse cx="27.5" cy="12.5" rx="3.6" ry="2.8" fill="#8bb36a"/>'
            '<circle cx="28.6" cy="11.6" r="0.7" fill="#1a1a1a"/>'
            '<rect x="6.5" y="14.5" width="3" height="4" rx="1" fill="#8bb36a"/>'
            '<rect x="18" y="14.5" width="3" height="4" rx="1" fill="#8bb36a"/>'
            '<polygon points="4,14 1,16 4,16" fill="#8bb36a"/>\n')
    return 32, 20, body


def hare():
    body = ('<ellipse cx="14" cy="12" rx="9" ry="4.6" fill="#9c7650"/>'
            '<ellipse cx="24.5" cy="9" rx="4" ry="3.2" fill="#9c7650"/>'
            '<ellipse cx="20.5" cy="3.6" rx="5.2" ry="1.5" transform="rotate(-18 20.5 3.6)" fill="#9c7650"/>'
            '<ellipse cx="21.5" cy="5" rx="4.6" ry="1.3" transform="rotate(-8 21.5 5)" fill="#b89470"/>'
            '<circle cx="25.6" cy="8.2" r="0.7" fill="#1a1a1a"/>'
            '<circle cx="5" cy="10" r="2" fill="#f4efe6"/>'
            '<path d="M 8 14 L 1 18.5" stroke="#9c7650" stroke-width="2.4" stroke-linecap="round"/>'
            '<path d="M 20 14 L 27 18" stroke="#9c7650" stroke-width="2" stroke-linecap="round"/>\n')
    return 32, 20, body


def key():
    body = ('<circle cx="7" cy="12" r="4.8" fill="none" stroke="#a87a12" stroke-width="2.6"/>'
            '<rect x="11.5" y="10.7" width="11" height="2.6" fill="#a87a12"/>'
            '<rect x="16.5" y="13" width="2" height="4" fill="#a87a12"/>'
            '<rect x="20.5" y="13" width="2" height="5" fill="#a87a12"/>\n')
    return 24, 24, body


def clear_box():
    body = '<rect x="3.5" y="3.5" width="13" height="13" rx="1.5" fill="#ffffff" stroke="#4a4a4a" stroke-width="1.4"/>\n'
    return 20, 20, body


def main():
    # File names carry the resource ids the dialogs know them by.
    for clef, full, folded in (("treble", 150, 154), ("bass", 155, 156)):
        write(f"{full}-staff-{clef}.svg", COLUMN * NOTES, HEIGHT, staff(clef, False))
        write(f"{folded}-staff-{clef}-folded.svg", COLUMN * NOTES, HEIGHT, staff(clef, True))
    for clef, pid in (("bass", 162), ("treble", 163)):
        w, body = clef_on_staff(clef)
        write(f"{pid}-clef-{clef}.svg", w, HEIGHT, body)
    for clef, pid in (("treble", 148), ("bass", 149)):
        w, h, body = clef_icon(clef)
        write(f"{pid}-clef-choice-{clef}.svg", w, h, body)
    for pid, name, fn in ((146, "note-values", note_values), (165, "intervals", intervals),
                          (166, "chords", chords), (152, "voice", speaking),
                          (153, "instrument", wind_player), (164, "synthesizer", sine),
                          (183, "tortoise", tortoise), (182, "hare", hare), (184, "key", key),
                          (0, "clear", clear_box)):
        w, h, body = fn()
        write(f"{pid}-{name}.svg" if pid else f"{name}.svg", w, h, body)


if __name__ == "__main__":
    main()
