#!/usr/bin/env python3
"""Writes the tool button faces: one drawing per tool, three faces each.

Run from this folder after changing a drawing; the SVG files are committed.
Every face is 50 x 42 (the button size). The drawing uses {C} for strokes,
{A} for point markers and {F} for area fills, which each face colours.
"""

from pathlib import Path

W, H = 50, 42


def marker(x, y):
    # The measurement point marker in small: a cross and a ring.
    return (f'<g stroke="{{A}}" stroke-width="1" fill="none">'
            f'<path d="M{x - 4},{y} H{x + 4} M{x},{y - 4} V{y + 4}"/>'
            f'<circle cx="{x}" cy="{y}" r="2.5"/></g>')


def markers(*pts):
    return ''.join(marker(x, y) for x, y in pts)


def line(d, width=1.6, dash=None):
    extra = f' stroke-dasharray="{dash}"' if dash else ''
    return (f'<path d="{d}" fill="none" stroke="{{C}}" stroke-width="{width}" '
            f'stroke-linecap="round" stroke-linejoin="round"{extra}/>')


def hatch(x0, x1, y):
    # Ground hatching under a line: marks it as a reference.
    d = ' '.join(f'M{x},{y + 1} l-3,4' for x in range(x0 + 4, x1 + 1, 5))
    return line(d, 1)


TOOLS = {
    # Two points and the straight distance between them.
    'distance_2points': line('M10,29 L40,13') + markers((10, 29), (40, 13)),
    # An arc through three points.
    'distance_arc': line('M8,32 A17.2,17.2 0 1 1 42,32') + markers((8, 32), (25, 12), (42, 32)),
    # Two circles and the distance between their centres.
    'distance_circles': (line('M14,21 m-9,0 a9,9 0 1 0 18,0 a9,9 0 1 0 -18,0')
                         + line('M37,21 m-7,0 a7,7 0 1 0 14,0 a7,7 0 1 0 -14,0')
                         + line('M14,21 L37,21', 1.2, '2,1.5') + markers((14, 21), (37, 21))),
    # A base line and the perpendicular from a point to it.
    'distance_perpendicular': (line('M6,33 L44,33') + line('M25,10 L25,33')
                               + line('M25,29 h4 v4', 1) + markers((6, 33), (44, 33), (25, 10))),
    # A broken line: the length along consecutive points.
    'distance_broken_line': line('M6,32 L17,11 L30,28 L44,10') + markers((6, 32), (17, 11), (30, 28), (44, 10)),
    # A base line, a parallel through a point and the distance between them.
    'distance_parallel': (line('M5,32 L45,32') + line('M5,11 L45,11')
                          + line('M28,13 L28,30', 1.2, '2,1.5')
                          + line('M25,16 L28,13 L31,16 M25,27 L28,30 L31,27', 1.2)
                          + markers((8, 32), (42, 32), (28, 11))),
    # The area of a polygon.
    'area_polygon': ('<path d="M8,30 L18,9 L40,12 L43,33 L22,36 Z" fill="{F}" stroke="{C}" '
                     'stroke-width="1.6" stroke-linejoin="round"/>'
                     + markers((8, 30), (18, 9), (40, 12), (43, 33), (22, 36))),
    # The area of a circle through three points.
    'area_circle': ('<circle cx="25" cy="21" r="14" fill="{F}" stroke="{C}" stroke-width="1.6"/>'
                    + markers((12, 16), (36, 30), (27, 7))),
    # The included angle at the middle of three points.
    'angle_3points': (line('M44,33 L10,33 L35,8') + line('M24,33 A14,14 0 0 0 19.9,23.1', 1.2)
                      + markers((44, 33), (10, 33), (35, 8))),
    # The angle between two lines, met where they are extended.
    'angle_2lines': (line('M22,35 L44,35') + line('M21,19.5 L31,7.5')
                     + line('M8,35 L22,35 M8,35 L21,19.5', 1, '1.5,1.5')
                     + line('M18,35 A10,10 0 0 0 14.4,27.3', 1.2)
                     + markers((22, 35), (44, 35), (21, 19.5), (31, 7.5))),
    # Free text.
    'text': line('M11,35 L20,8 L29,35 M14.5,26 H25.5', 2.2) + line('M35,10 V34 M32,10 H38 M32,34 H38', 1.4),
    # A reference line.
    'standard_line': line('M6,22 L44,22') + hatch(6, 44, 22) + markers((6, 22), (44, 22)),
    # A reference line with parallels through points.
    'standard_parallel': (line('M6,32 L44,32') + hatch(6, 44, 32)
                          + line('M4,19 L46,19 M4,8 L46,8', 1.2, '3,2')
                          + markers((6, 32), (44, 32), (18, 19), (32, 8))),
    # The reflex side of the angle at the middle of three points.
    'angle_3points_type2': (line('M44,31 L17,26 L37,6') + line('M27,28 A10,10 0 1 1 24,19', 1.2)
                            + line('M23,15 L24,19 L20,18', 1.2)
                            + markers((44, 31), (17, 26), (37, 6))),
}

FACES = {
    # Raised: light top, drawing in ink blue with red points.
    'normal': dict(top='#F7F9FB', bottom='#D3D9E0', border='#7B8692', C='#1D4F9C', A='#C62828',
                   F='#9DBBE6', light='#FFFFFF', shade='#9AA3AD', dx=0),
    # Sunken: dark top, the drawing one pixel down and right.
    'pressed': dict(top='#AEBBC9', bottom='#DDE3EA', border='#3C4650', C='#0C2F6B', A='#A01515',
                    F='#7FA3D6', light='#8893A0', shade='#EEF1F4', dx=1),
    # Flat and grey.
    'disabled': dict(top='#E8E8E8', bottom='#E8E8E8', border='#B4B4B4', C='#A6A6A6', A='#B9B9B9',
                     F='#D9D9D9', light='#F2F2F2', shade='#D0D0D0', dx=0),
}


def face(drawing, f):
    body = drawing.replace('{C}', f['C']).replace('{A}', f['A']).replace('{F}', f['F'])
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="{W}" height="{H}" viewBox="0 0 {W} {H}">
<defs><linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="{f['top']}"/><stop offset="1" stop-color="{f['bottom']}"/>
</linearGradient></defs>
<rect x="0.5" y="0.5" width="{W - 1}" height="{H - 1}" rx="3" fill="url(#bg)" stroke="{f['border']}"/>
<path d="M2,{H - 3} V3 Q2,2 3,2 H{W - 3}" fill="none" stroke="{f['light']}"/>
<path d="M3,{H - 2} H{W - 3} Q{W - 2},{H - 2} {W - 2},{H - 3} V3" fill="none" stroke="{f['shade']}"/>
<g transform="translate({f['dx']},{f['dx']})">{body}</g>
</svg>
'''


def main():
    here = Path(__file__).resolve().parent
    names = []
    for tool, drawing in TOOLS.items():
        for state, f in FACES.items():
            name = f'{tool}_{state}.svg'
            (here / name).write_text(face(drawing, f))
            names.append(f'tools/{name}')
    qrc = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/">']
    qrc += [f'    <file>{n}</file>' for n in names]
    qrc += ['</qresource>', '</RCC>', '']
    (here.parent / 'tools.qrc').write_text('\n'.join(qrc))


if __name__ == '__main__':
    main()
