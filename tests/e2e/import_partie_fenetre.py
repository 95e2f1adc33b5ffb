#!/usr/bin/python3
"""A caver grafts part of another survey onto a station, through the real window.

The program runs on its own X server (Xvfb), driven as in parcours_fenetre.py
(words found on screenshots by OCR, paths typed into Qt's file dialog):

  1. starts on a copy of a two-cave document;
  2. a right click on a row of the shot table opens the row's menu; its
     "Importer une partie d'une autre cavité" asks for a file: Olivier.tro
     is typed in with the document filter still chosen;
  3. the shot selection window shows the VTopo survey: "Tout", then "OK";
     the question is answered Yes: the caption says the document is modified;
  4. Fichier > Enregistrer, Fichier > Quitter: no question, the program ends;
  5. the saved document holds the VTopo stations in the cave that was shown,
     cavtool computes them, and the VTopo file was not changed.

Usage: import_partie_fenetre.py GRAVELUNE CAVTOOL
Exits 77 (skipped) when Xvfb, xdotool, xwininfo, ImageMagick's import or
tesseract with its French data is missing.
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import parcours_fenetre as pf  # noqa: E402

RACINE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
DOCUMENT = os.path.join(RACINE, "tests", "survey", "fixtures", "document", "reseau_511.cav")


def caves_et_stations(cavtool, cav):
    calcul = subprocess.run([cavtool, "compute", cav], capture_output=True, text=True, timeout=60)
    if calcul.returncode != 0:
        raise pf.Echec(f"cavtool compute {cav} : code {calcul.returncode}, {calcul.stderr[:200]}")
    stations = {}
    for ligne in calcul.stdout.splitlines():
        champs = ligne.split(";")
        if len(champs) >= 2:
            stations.setdefault(champs[0], set()).add(champs[1])
    return stations


def parcours(ecran, gravelune, cavtool):
    documents = os.path.join(ecran.dossier, "maison", "Documents")
    cav = os.path.join(documents, "Essai.cav")
    tro = os.path.join(documents, "Olivier.tro")
    avant_tro = pf.empreinte(tro)
    avant = caves_et_stations(cavtool, cav)

    # 1. The document open.
    principale = ecran.lance(gravelune, cav)
    if "*" in principale[1]:
        raise pf.Echec(f"le document ouvert se dit modifié : « {principale[1]} »")
    pf.journal(f"ouvert : « {principale[1]} »")

    # 2. A right click on the second row of the table, under the "Station" heading.
    entete = ecran.trouve(lambda: ecran.lit(*ecran.principale()[2:6]), "Station", "l'en-tête Station de la table")
    ecran.x("xdotool", "mousemove", str(round(entete[1])), str(round(entete[2] + 42)), "click", "3")
    menu = ecran.attend_fenetre(lambda n: n == "Gravelune", "le menu de la ligne")
    ecran.clique(ecran.trouve(lambda: ecran.lit(*menu[2:6]), "Importer", "l'entrée Importer une partie"))
    dialogue = ecran.attend_fenetre(lambda n: n.startswith("Ouvrir"), "la boîte d'ouverture")
    ecran.tape(dialogue, tro)
    ecran.touches(dialogue, "Return")
    ecran.attend_disparition(dialogue, "la boîte d'ouverture")

    # The gallery window of the VTopo reader, when it asks, keeps its proposal.
    limite = time.monotonic() + pf.ATTENTE
    selection = None
    while time.monotonic() < limite and selection is None:
        for f in ecran.fenetres():
            if f[1].startswith("Nommer les galeries"):
                pf.journal("fenêtre des galeries : proposition gardée")
                ecran.touches(f, "Return")
                ecran.attend_disparition(f, "la fenêtre des galeries")
            elif f[1].startswith("Copie d'une partie") and f[4] > 400:
                selection = f
        time.sleep(0.3)
    if selection is None:
        raise pf.Echec(f"la fenêtre de sélection n'apparaît pas ; fenêtres : {[f[1] for f in ecran.fenetres()]}")

    # 3. "Tout", then "OK" on the selection window's buttons (the program
    # handles the clicks in the order they were made).
    bas = (selection[2], selection[3] + selection[5] - 120, selection[4], 120)
    ecran.clique(ecran.trouve(lambda: ecran.lit(*bas), "Tout", "le bouton Tout"))
    ecran.clique(ecran.trouve(lambda: ecran.lit(*bas), "OK", "le bouton OK"))
    question = ecran.attend_fenetre(lambda n: n.startswith("Confirmation"), "la question de l'import")
    texte = ecran.texte_attendu(question, lambda t: "rajouter" in t)
    pf.journal(f"question : « {texte} »")
    ecran.touches(question, "Return")
    ecran.attend_disparition(question, "la question de l'import")
    modifie = ecran.attend_fenetre(lambda n: "*" in n, "le titre du document modifié", grande=True)[1]
    pf.journal(f"partie importée : « {modifie} »")

    # 4. Saved, then Quitter asks nothing.
    ecran.touches(ecran.principale(), "alt+f", "e")
    ecran.attend_fenetre(lambda n: "*" not in n and n.endswith("Gravelune"), "le titre du document enregistré",
                         grande=True)
    pf.quitte_sans_question(ecran, "après l'enregistrement")

    # 5. One cave gained the VTopo stations; the other is as it was.
    apres = caves_et_stations(cavtool, cav)
    if set(apres) != set(avant):
        raise pf.Echec(f"les cavités ont changé : {sorted(avant)} -> {sorted(apres)}")
    grandies = [c for c in avant if apres[c] > avant[c] and any(s.startswith("OL") for s in apres[c] - avant[c])]
    pareilles = [c for c in avant if apres[c] == avant[c]]
    if len(grandies) != 1 or len(pareilles) != len(avant) - 1:
        raise pf.Echec(f"stations avant {avant}, après {apres}")
    if pf.empreinte(tro) != avant_tro:
        raise pf.Echec("Olivier.tro a changé (contenu ou mode)")
    pf.journal(f"« {grandies[0]} » a reçu {len(apres[grandies[0]] - avant[grandies[0]])} stations ; cavtool les calcule")


def main():
    return pf.session("import-partie-fenetre-", {"Essai.cav": DOCUMENT, "Olivier.tro": pf.FIXTURE}, parcours)


if __name__ == "__main__":
    sys.exit(main())
