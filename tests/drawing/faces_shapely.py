#!/usr/bin/python3
"""Faces of a set of polylines, by shapely: the lines are noded (their union
cuts them at every crossing) and polygonized; the area of each face is
written, one per line.  Input: one polyline per line, "x y x y ...".
Exit 77 when shapely is missing."""
import sys

try:
    from shapely.geometry import LineString
    from shapely.ops import polygonize, unary_union
except ImportError:
    sys.exit(77)

lignes = []
for texte in sys.stdin:
    v = [float(t) for t in texte.split()]
    pts = list(zip(v[0::2], v[1::2]))
    if len(pts) >= 2:
        lignes.append(LineString(pts))
for face in polygonize(unary_union(lignes)):
    print(repr(face.area))
