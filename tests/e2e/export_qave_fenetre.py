#!/usr/bin/python3
"""A caver writes a file for Qave, through the real window.

The program runs on its own X server (Xvfb), driven as in
export_partie_fenetre.py:

  1. starts on a survey document (Olivier.tro imported by cavtool);
  2. Exports > "Fichier pour Qave": the shot selection window opens with the
     caption "Export d'une partie d'une cavité au format Qave"; a click on a
     survey line selects shots; OK;
  3. the save dialog: the file name typed, Return;
  4. the .cave file starts with Qave's two header lines, then one line per
     chosen shot (fewer than the cave has) from station 100.0 on, each
     naming its target first; the open document is not marked modified.

Usage: export_qave_fenetre.py GRAVELUNE CAVTOOL
Exits 77 (skipped) when Xvfb, xdotool, xwininfo, ImageMagick's import or
tesseract with its French data is missing.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import export_partie_fenetre as ep  # noqa: E402
import parcours_fenetre as pf  # noqa: E402


def parcours(ecran, gravelune, cavtool):
    # 1. The document open.
    cav, source, avant_cav, titre = ep.ouvre_olivier(ecran, gravelune, cavtool)
    qave = os.path.join(os.path.dirname(cav), "Olivier.cave")

    # 2. Exports > Fichier pour Qave, a click on a shot, OK.
    ep.choisit_des_visees(ecran, "Qave", "Export d'une partie d'une cavité au format Qave")

    # 3. The file name.
    ep.enregistre_sous(ecran, qave)
    ep.ferme_les_messages(ecran)

    # 4. The file.
    with open(qave, "rb") as f:
        lignes = f.read().decode("cp1252").splitlines()
    if lignes[:2] != ["prefix:100", "100.0\t-\t100.0\ttrue\t0.0\t0.0\t0.0\t"]:
        raise pf.Echec(f"en-tête du fichier Qave : {lignes[:2]}")
    visees = [l.split("\t") for l in lignes[2:] if not l.startswith("###")]
    visees = [v for v in visees if len(v) > 3 and v[3] == "true"]
    if not visees or len(visees) >= len(source):
        raise pf.Echec(f"{len(visees)} visées écrites pour {len(source)} stations : {lignes[:6]}")
    for v in visees:
        if v[0] != v[2] or not re.fullmatch(r"(\d+\.)*\d+", v[0]) or not re.fullmatch(r"(\d+\.)*\d+", v[1]):
            raise pf.Echec(f"ligne de visée inattendue : {v}")
    if visees[0][1] != "100.0":
        raise pf.Echec(f"la première visée ne part pas de 100.0 : {visees[0]}")
    pf.journal(f"{len(visees)} visées écrites, de {visees[0][1]} à {visees[-1][0]}")

    # The open document: not modified, its file unchanged.
    ep.document_intact(ecran, titre, cav, avant_cav)


def main():
    return pf.session("export-qave-fenetre-", {"Olivier.tro": pf.FIXTURE}, parcours)


if __name__ == "__main__":
    sys.exit(main())
