#!/usr/bin/python3
"""Writes the raster fixtures of the raster tests into a folder, with
Pillow's own decoding of each beside it, so that the program's reader is
checked against another decoder.

    images_raster.py FOLDER [grand]

For each image NAME.EXT: NAME.rgb, Pillow's pixels flattened onto white, 8-bit
red, green, blue per pixel, rows top to bottom.  The 16-bit files have no
dump (they are refused).  tourne.txt: for the turn test image and each angle
(degrees, clockwise on the screen), the size of Pillow's turned image
(rotate(-angle, expand=True)) and the centre of its black mark.  With "grand",
also grille.tif: 8000 x 8000 RGB, LZW, a black grid every 100 pixels.
"""
import os
import struct
import sys
import zlib

from PIL import Image, ImageDraw


def aplatit(im):
    """Pillow's decoding onto white, as RGB bytes."""
    rgba = im.convert("RGBA")
    fond = Image.new("RGBA", rgba.size, (255, 255, 255, 255))
    return Image.alpha_composite(fond, rgba).convert("RGB").tobytes()


def degrade(w, h):
    """A colour picture with gradients, edges and flat areas."""
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = ((x * 255) // (w - 1), (y * 255) // (h - 1), ((x + y) * 7) % 256)
    d = ImageDraw.Draw(im)
    d.rectangle([w // 4, h // 4, w // 2, h // 2], fill=(10, 200, 30))
    return im


def tiff_48_bits(chemin, w, h):
    """An uncompressed RGB TIFF of 16 bits per channel (Pillow cannot write one)."""
    pixels = b"".join(struct.pack("<HHH", x * 600, y * 900, 40000) for y in range(h) for x in range(w))
    entrees = []
    # Tag, type (3 SHORT, 4 LONG), count, value or offset.
    debut_bps = 8
    debut_pixels = debut_bps + 6
    entrees = [
        (256, 4, 1, w), (257, 4, 1, h), (258, 3, 3, debut_bps), (259, 3, 1, 1), (262, 3, 1, 2),
        (273, 4, 1, 0), (277, 3, 1, 3), (278, 4, 1, h), (279, 4, 1, len(pixels)), (284, 3, 1, 1),
    ]
    debut_ifd = debut_pixels + len(pixels)
    entrees = [(t, ty, n, debut_pixels if t == 273 else v) for (t, ty, n, v) in entrees]
    out = bytearray(b"II" + struct.pack("<HI", 42, debut_ifd))
    out += struct.pack("<HHH", 16, 16, 16)
    out += pixels
    out += struct.pack("<H", len(entrees))
    for t, ty, n, v in entrees:
        if ty == 3 and n == 1:
            out += struct.pack("<HHIHH", t, ty, n, v, 0)
        else:
            out += struct.pack("<HHII", t, ty, n, v)
    out += struct.pack("<I", 0)
    with open(chemin, "wb") as f:
        f.write(out)


def enorme(chemin, cote):
    def bloc(genre, donnees):
        return struct.pack(">I", len(donnees)) + genre + donnees + struct.pack(">I", zlib.crc32(genre + donnees))
    lignes = zlib.compress(b"\0" + b"\xff" * (cote * 3) * 1)
    with open(chemin, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + bloc(b"IHDR", struct.pack(">IIBBBBB", cote, cote, 8, 2, 0, 0, 0)) +
                bloc(b"IDAT", lignes) + bloc(b"IEND", b""))


def ecrit(dossier, nom, im, **options):
    chemin = os.path.join(dossier, nom)
    im.save(chemin, **options)
    relu = Image.open(chemin)
    relu.load()
    with open(os.path.splitext(chemin)[0] + ".rgb", "wb") as f:
        f.write(aplatit(relu))


def main():
    dossier = sys.argv[1]
    os.makedirs(dossier, exist_ok=True)
    w, h = 37, 23  # odd sizes: row padding and the last byte of one-bit rows

    mono = Image.new("1", (w, h), 1)
    d = ImageDraw.Draw(mono)
    d.line([0, 0, w - 1, h - 1], fill=0)
    d.rectangle([3, 12, 9, 20], fill=0)
    ecrit(dossier, "mono.png", mono)
    ecrit(dossier, "mono.tif", mono)

    couleurs = degrade(w, h)
    p16 = couleurs.quantize(colors=16)
    ecrit(dossier, "palette4.png", p16, bits=4)
    ecrit(dossier, "gris8.png", couleurs.convert("L"))
    ecrit(dossier, "palette8.bmp", couleurs.quantize(colors=256))
    ecrit(dossier, "rgb24.png", couleurs)
    ecrit(dossier, "rgb24.bmp", couleurs)
    ecrit(dossier, "rgb24.tif", couleurs, compression="tiff_lzw")
    rgba = couleurs.convert("RGBA")
    pa = rgba.load()
    for y in range(h):
        for x in range(w):
            if (x // 4 + y // 4) % 2:
                pa[x, y] = (pa[x, y][0], pa[x, y][1], pa[x, y][2], 0)
    ecrit(dossier, "rgba.png", rgba)
    ecrit(dossier, "photo.jpg", couleurs.resize((w * 4, h * 4), Image.BILINEAR), quality=95)

    gris16 = Image.new("I;16", (w, h))
    gris16.putdata([(x * 1700 + y * 13) % 65536 for y in range(h) for x in range(w)])
    gris16.save(os.path.join(dossier, "gris16.png"))
    tiff_48_bits(os.path.join(dossier, "rgb48.tif"), w, h)

    # A PNG whose header announces 100,000 x 100,000 colour pixels (40 GB
    # decoded), with a few rows of data only.
    enorme(os.path.join(dossier, "enorme.png"), 100000)

    # The turn: a black 5 x 5 mark centred on pixel (150, 30) of 200 x 120.
    tourne = Image.new("RGB", (200, 120), (255, 255, 255))
    ImageDraw.Draw(tourne).rectangle([148, 28, 152, 32], fill=(0, 0, 0))
    tourne.save(os.path.join(dossier, "tourne.png"))
    with open(os.path.join(dossier, "tourne.txt"), "w") as f:
        for angle in (30, 45, -90):
            t = tourne.rotate(-angle, resample=Image.NEAREST, expand=True, fillcolor=(255, 255, 255))
            px = t.load()
            xs, ys = [], []
            for y in range(t.size[1]):
                for x in range(t.size[0]):
                    if px[x, y] == (0, 0, 0):
                        xs.append(x)
                        ys.append(y)
            f.write("%d %d %d %.3f %.3f\n" % (angle, t.size[0], t.size[1], sum(xs) / len(xs), sum(ys) / len(ys)))

    if len(sys.argv) > 2 and sys.argv[2] == "grand":
        ecrit_grille(os.path.join(dossier, "grille.tif"), 8000)


def ecrit_grille(chemin, cote):
    """A black grid every 100 pixels on white, LZW: small on disk."""
    im = Image.new("RGB", (cote, cote), (255, 255, 255))
    d = ImageDraw.Draw(im)
    for i in range(0, cote, 100):
        d.line([i, 0, i, cote - 1], fill=(0, 0, 0), width=3)
        d.line([0, i, cote - 1, i], fill=(0, 0, 0), width=3)
    im.save(chemin, compression="tiff_lzw")


if __name__ == "__main__":
    if len(sys.argv) > 2 and sys.argv[2].isdigit():
        ecrit_grille(sys.argv[1], int(sys.argv[2]))
    else:
        main()
