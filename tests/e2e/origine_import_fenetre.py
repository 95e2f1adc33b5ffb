#!/usr/bin/python3
"""A caver moves the origin of an imported survey, through the real window.

The program runs on its own X server (Xvfb), driven as in parcours_fenetre.py
(menus clicked by their captions found by OCR, paths typed into Qt's file
dialogs, message boxes answered with Return):

  1. starts with no document and imports Olivier.tro through the Imports
     menu;
  2. in the gallery window, "Changer le point origine": the origin window
     opens; a click on the end of a survey line chooses that station, and
     the red ring of the marker is drawn around the click; OK;
  3. the import runs again: the gallery window comes back naming the chosen
     station as the origin, without the origin button; OK;
  4. the network is saved on quitting; cavtool computes every station of the
     saved cave where cavtool's own import of the file puts it: the survey
     kept its place on the ground, hung from the chosen station.

Usage: origine_import_fenetre.py GRAVELUNE CAVTOOL
Exits 77 (skipped) when Xvfb, xdotool, xwininfo, ImageMagick's import or
tesseract with its French data is missing.
"""

import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import export_partie_fenetre as ep  # noqa: E402
import parcours_fenetre as pf  # noqa: E402


def anneau(points, centre, rayon=10, tolerance=3):
    """How many of the four diagonals of the circle around the centre are red."""
    ensemble = set(points)
    d = round(rayon / 2 ** 0.5)
    n = 0
    for sx, sy in ((1, 1), (1, -1), (-1, 1), (-1, -1)):
        if any((centre[0] + sx * (d + e), centre[1] + sy * (d + f)) in ensemble
               for e in range(-tolerance, tolerance + 1) for f in range(-tolerance, tolerance + 1)):
            n += 1
    return n


def fenetre_galeries(ecran, quoi):
    return ecran.attend_fenetre(lambda n: n.startswith("Nommer les galeries"), quoi)


def parcours(ecran, gravelune, cavtool):
    documents = os.path.join(ecran.dossier, "maison", "Documents")
    tro = os.path.join(documents, "Olivier.tro")
    reference = os.path.join(ecran.dossier, "reference.cav")
    sauve = os.path.join(documents, "Origine.cav")
    importe = subprocess.run([cavtool, "import", tro, reference], capture_output=True, text=True, timeout=60)
    if importe.returncode != 0:
        raise pf.Echec(f"cavtool import : {importe.stderr[:300]}")
    premier = ep.stations(cavtool, reference)

    # 1. The import.
    ecran.lance(gravelune)
    ecran.clique(ecran.trouve(lambda: pf.barre(ecran), "Imports", "le menu Imports"))
    menu = ecran.attend_fenetre(lambda n: n == "Gravelune", "le menu Imports")
    ecran.clique(ecran.trouve(lambda: ecran.lit(*menu[2:6]), "VTopo", "l'entrée Fichier VTopo"))
    dialogue = ecran.attend_fenetre(lambda n: n.startswith("Ouvrir"), "la boîte d'ouverture de l'import")
    ecran.tape(dialogue, tro)
    ecran.touches(dialogue, "Return")
    galeries = fenetre_galeries(ecran, "la fenêtre des galeries")

    # 2. The origin window.
    # "Changer", capitalised: the label above ends with "pour le changer".
    limite = time.monotonic() + pf.ATTENTE
    while not (mots := [m for m in ecran.lit(*galeries[2:6]) if m[0] == "Changer"]):
        if time.monotonic() > limite:
            raise pf.Echec(f"pas de bouton « Changer le point origine » ; lu : {ecran.texte(galeries)}")
        time.sleep(0.5)
    ecran.clique(mots[0])
    origine = ecran.attend_fenetre(lambda n: n.startswith("Changement du point d'origine du lever —"),
                                   "la fenêtre d'origine", grande=True)
    avant = ep.attend_teinte(ecran, origine, ep.rouge, 50, "la fenêtre d'origine ne montre pas le lever en rouge")
    # The extreme points of the drawing are ends of survey lines, so stations;
    # the entrance, chosen at first, changes nothing when clicked.
    extremes = [max(avant), min(avant), max(avant, key=lambda p: p[1]), min(avant, key=lambda p: p[1])]
    # A click that changes the point redraws the window: it is waited for
    # (the wait runs out only on the entrance).
    choisi = None
    for cible in extremes:
        ecran.x("xdotool", "mousemove", str(cible[0]), str(cible[1]), "click", "1")
        limite = time.monotonic() + pf.ATTENTE / 2
        while set(apres := ep.teinte(ecran, origine, ep.rouge)) == set(avant) and time.monotonic() < limite:
            time.sleep(0.3)
        if set(apres) != set(avant):
            choisi = cible
            break
    if not choisi:
        raise pf.Echec(f"aucun clic aux extrémités {extremes} ne change le point d'origine")
    if anneau(apres, choisi) < 4:
        raise pf.Echec(f"pas d'anneau rouge autour du point cliqué {choisi}")
    pf.journal(f"station choisie par un clic en {choisi}")
    ecran.clique(ecran.trouve(lambda: ecran.lit(*origine[2:6]), "OK", "le bouton OK de la fenêtre d'origine"))
    ecran.attend_disparition(origine, "la fenêtre d'origine")
    ecran.attend_disparition(galeries, "la première fenêtre des galeries")

    # 3. The second pass.
    galeries = fenetre_galeries(ecran, "la seconde fenêtre des galeries")
    texte = ecran.texte_attendu(galeries, lambda t: "lever" in t, psm=6)
    m = re.search(r"lever\s*:\s*(\S+)", texte)
    if not m:
        raise pf.Echec(f"la seconde fenêtre des galeries ne nomme pas l'origine ; lu : {texte}")
    nom = m.group(1).replace("0L", "OL")
    if nom not in premier:
        raise pf.Echec(f"l'origine lue « {nom} » n'est pas une station du lever ; lu : {texte}")
    if re.search(r"\bChanger\b", texte):
        raise pf.Echec(f"la seconde fenêtre des galeries montre le bouton de l'origine ; lu : {texte}")
    pf.journal(f"seconde passe depuis {nom}")
    ecran.touches(galeries, "Return")
    ecran.attend_disparition(galeries, "la seconde fenêtre des galeries")
    ecran.attend_fenetre(lambda n: "Olivier" in n, "le titre du réseau importé", grande=True)

    # 4. Saved on quitting.
    pf.enregistre_en_quittant(ecran, sauve)
    second = ep.stations(cavtool, sauve)
    communes = set(premier) & set(second)
    if len(communes) < len(premier) - 1:
        raise pf.Echec(f"stations perdues : {sorted(set(premier) - set(second))}")
    for n in communes:
        if any(abs(a - b) > 1e-3 for a, b in zip(premier[n], second[n])):
            raise pf.Echec(f"la station {n} est en {second[n]} au lieu de {premier[n]}")
    calcul = subprocess.run([cavtool, "compute", sauve], capture_output=True, text=True, timeout=60).stdout
    if any(not l.startswith("Grotte de l'Olivier;") for l in calcul.splitlines()):
        raise pf.Echec(f"la cavité n'a plus le nom que lui donne le fichier : {calcul[:200]}")
    pf.journal(f"{len(communes)} stations à leur place ; calculées : {sorted(second)}")


def main():
    return pf.session("origine-import-fenetre-", {"Olivier.tro": pf.FIXTURE}, parcours)


if __name__ == "__main__":
    sys.exit(main())
