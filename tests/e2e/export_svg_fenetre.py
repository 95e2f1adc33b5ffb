#!/usr/bin/python3
"""A caver exports the plan as SVG, through the real window.

The program runs on its own X server (Xvfb), driven as in
export_partie_fenetre.py:

  1. starts on a survey document (Olivier.tro imported by cavtool);
  2. Exports > "Fichier SVG Plani": the window "Objets à mettre dans le SVG"
     comes up; "Cheminement" ticked, Return (Ok);
  3. the save dialog: the file name typed, Return;
  4. the file is well-formed SVG whose survey lines hold one point per
     station of the cave, at the stations' horizontal distances as cavtool
     computes them; the open document is not marked modified.

Usage: export_svg_fenetre.py GRAVELUNE CAVTOOL
Exits 77 (skipped) when Xvfb, xdotool, xwininfo, ImageMagick's import or
tesseract with its French data is missing.
"""

import os
import re
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import export_partie_fenetre as ep  # noqa: E402
import parcours_fenetre as pf  # noqa: E402

SVG = "{http://www.w3.org/2000/svg}"


def points_des_lignes(racine):
    """Every point of the polylines and paths of the file, in its units."""
    points = []
    for e in racine.iter():
        if e.tag == SVG + "polyline" and e.get("points"):
            nombres = [float(n) for n in re.split(r"[ ,]+", e.get("points").strip()) if n]
            points += list(zip(nombres[0::2], nombres[1::2]))
    return points


def parcours(ecran, gravelune, cavtool):
    # 1. The document open.
    cav, source, avant_cav, titre = ep.ouvre_olivier(ecran, gravelune, cavtool)
    svg = os.path.join(os.path.dirname(cav), "Olivier plan.svg")

    # 2. Exports > Fichier SVG Plani, the objects window, Ok.
    ecran.clique(ecran.trouve(lambda: pf.barre(ecran), "Exports", "le menu Exports"))
    menu = ecran.attend_fenetre(lambda n: n == "Gravelune", "le menu Exports")
    ecran.clique(ecran.trouve(lambda: ecran.lit(*menu[2:6]), "Plani", "l'entrée Fichier SVG Plani"))
    objets = ecran.attend_fenetre(lambda n: n.startswith("Objets à mettre dans le SVG"), "la fenêtre des objets")
    ecran.clique(ecran.trouve(lambda: ecran.lit(*objets[2:6]), "Cheminement", "la case Cheminement"))
    # Ok is the default button (OCR does not always read its framed caption);
    # the key comes after the click.
    ecran.touches(objets, "Return")
    ecran.attend_disparition(objets, "la fenêtre des objets")

    # 3. The file name.
    ep.enregistre_sous(ecran, svg)
    ep.ferme_les_messages(ecran)

    # 4. The file: well-formed, its survey lines at the stations' places. The
    # file's scale is unknown here: the ratio of two distances is compared.
    try:
        racine = ET.parse(svg).getroot()
    except ET.ParseError as e:
        raise pf.Echec(f"{svg} n'est pas un XML bien formé : {e}")
    if racine.tag != SVG + "svg":
        raise pf.Echec(f"racine {racine.tag}")
    points = points_des_lignes(racine)
    if len(points) < len(source) // 2:
        raise pf.Echec(f"{len(points)} points de lignes pour {len(source)} stations")
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    largeur, hauteur = max(xs) - min(xs), max(ys) - min(ys)
    sx = [s[0] for s in source.values()]
    sy = [s[1] for s in source.values()]
    est, nord = max(sx) - min(sx), max(sy) - min(sy)
    if hauteur <= 0 or nord <= 0 or abs(largeur / hauteur - est / nord) > 0.02 * (est / nord):
        raise pf.Echec(f"lignes de {largeur:.1f} x {hauteur:.1f}, stations de {est:.2f} x {nord:.2f} m")
    pf.journal(f"{len(points)} points de lignes, proportions {largeur / hauteur:.3f} (stations {est / nord:.3f})")

    # The open document: not modified, its file unchanged.
    ep.document_intact(ecran, titre, cav, avant_cav)


def main():
    return pf.session("export-svg-fenetre-", {"Olivier.tro": pf.FIXTURE}, parcours)


if __name__ == "__main__":
    sys.exit(main())
