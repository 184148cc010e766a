#!/usr/bin/env python3
"""Writes data/materiali.TXT, the materials archive shipped with the program.

Conductivities (W/m K) against temperature (deg C) from public handbooks and
standards: EN 1993-1-2 (steels), EN 1992-1-2 (normal concrete), GB 50264-2013
(mineral, ceramic and glass wool, calcium silicate), VDI Heat Atlas
(refractories), ASHRAE (lightweight concrete, loose fills), Incropera
(aluminium, still air). The last point of each material is its service limit,
which the layer checks use as the highest temperature allowed. The source of
each material is listed in docs/materials-sources.md.
"""
import os

MATERIALS = [
    ("calcestruzzo alleggerito 1000 kg/m3", [(20, 0.33), (200, 0.36), (400, 0.40), (600, 0.45)]),
    ("acciaio inox AISI 304", [(20, 14.9), (100, 15.9), (300, 18.4), (500, 21.0), (700, 23.5), (800, 24.8)]),
    ("acciaio al carbonio", [(20, 53.3), (100, 50.7), (300, 44.0), (500, 37.4), (700, 30.7), (800, 27.3)]),
    ("acciaio zincato", [(20, 53.3), (100, 50.7), (200, 47.3), (250, 45.7)]),
    ("lana di roccia 100 kg/m3", [(50, 0.041), (100, 0.049), (200, 0.069), (300, 0.099), (400, 0.139)]),
    ("fibra ceramica 128 kg/m3", [(100, 0.050), (200, 0.070), (400, 0.110), (600, 0.182), (800, 0.254), (1000, 0.326)]),
    ("silicato di calcio 170 kg/m3", [(100, 0.058), (200, 0.069), (300, 0.081), (400, 0.095), (500, 0.111)]),
    ("lana di vetro 48 kg/m3", [(50, 0.038), (100, 0.046), (200, 0.063), (300, 0.080)]),
    ("acciaio inox AISI 316", [(20, 13.6), (100, 15.4), (300, 19.5), (500, 22.9), (700, 25.8), (800, 27.0)]),
    ("calcestruzzo refrattario leggero 490 kg/m3", [(400, 0.14), (600, 0.16), (800, 0.18), (1000, 0.20), (1200, 0.22)]),
    ("mattone refrattario (argilla refrattaria)", [(400, 1.05), (600, 1.10), (800, 1.15), (1000, 1.18), (1200, 1.22)]),
    ("calcestruzzo normale", [(20, 1.95), (100, 1.77), (200, 1.55), (400, 1.19), (600, 0.91), (800, 0.72)]),
    ("vermiculite espansa sfusa", [(20, 0.063)]),
    ("perlite sfusa 100 kg/m3", [(20, 0.0485)]),
    ("alluminio", [(27, 237), (127, 240), (327, 231), (527, 218)]),
    ("aria ferma", [(27, 0.0263), (127, 0.0338), (227, 0.0407), (327, 0.0469), (527, 0.0573), (727, 0.0667)]),
]


def field(value, decimals):
    # Every value here has at most 4 decimals, so no rounding tie arises.
    return f"{value:7.{decimals}f}"


def main():
    lines = []
    for slot in range(100):
        desc, points = MATERIALS[slot] if slot < len(MATERIALS) else ("", [])
        lines.append(desc)
        for k in range(6):
            t, lam = points[k] if k < len(points) else (0, 0.0)
            lines.append(field(t, 0))
            lines.append(field(lam, 4))
    out = os.path.join(os.path.dirname(__file__), "..", "data", "materiali.TXT")
    with open(out, "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("cp1252"))


if __name__ == "__main__":
    main()
