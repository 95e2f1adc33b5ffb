#!/usr/bin/env python3
"""Counts the drawings of a PocketTopo ".top" file (version 3) with Python's
struct module, independently of the program's reader.  Prints one line per
drawing:
    <plan|elevation> <polylines> <points> <byte>:<count>... | <section stations>...
"""
import struct
import sys


def lit(chemin):
    o = open(chemin, "rb").read()
    i = 4

    def n(fmt):
        nonlocal i
        v = struct.unpack_from("<" + fmt, o, i)
        i += struct.calcsize("<" + fmt)
        return v[0]

    def chaine():
        nonlocal i
        lg = o[i]
        i += 1
        if lg >= 128:
            lg = (lg - 128) + 128 * o[i]
            i += 1
        i += lg

    def ident():
        v = n("I")
        if v == 0x80000000:
            return ""
        if v > 0x80000000:
            return str(v - 0x80000001)
        return "%d.%d" % (v >> 16, v & 0xFFFF)

    for _ in range(n("i")):
        n("q"); chaine(); n("H")
    for _ in range(n("i")):
        ident(); ident(); n("i"); n("H"); n("H")
        drapeaux = n("B"); n("B"); n("h")
        if drapeaux & 2:
            chaine()
    for _ in range(n("i")):
        ident(); n("q"); n("q"); n("i"); chaine()
    i += 12
    dessins = []
    for nom in ("plan", "elevation"):
        i += 12
        polys = points = 0
        couleurs = {}
        coupes = []
        while True:
            e = n("B")
            if e == 0:
                break
            if e == 1:
                k = n("i")
                i += 8 * k
                polys += 1
                points += k
                c = n("B")
                couleurs[c] = couleurs.get(c, 0) + 1
            elif e == 3:
                i += 8
                coupes.append(ident())
                n("i")
        dessins.append((nom, polys, points, couleurs, coupes))
    return dessins


if __name__ == "__main__":
    for nom, polys, points, couleurs, coupes in lit(sys.argv[1]):
        print(nom, polys, points, " ".join("%d:%d" % (c, couleurs[c]) for c in sorted(couleurs)), "|", " ".join(coupes))
