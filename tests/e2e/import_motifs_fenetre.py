#!/usr/bin/python3
"""A caver brings a pattern file into a document, through the real window.

The program runs on its own X server (Xvfb), driven as in parcours_fenetre.py
(menus clicked by their captions found by OCR, paths typed into Qt's file
dialog, keys for the File menu):

  1. starts on a copy of a survey document whose library has none of the
     patterns of the file;
  2. "Motifs / Fontes" > "Importer", the pattern file typed into the open
     dialog: the caption says the document is modified;
  3. Fichier > Enregistrer, Fichier > Quitter: no question, the program ends;
  4. the saved document holds the imported patterns' names, cavtool still
     computes it, and the pattern file was not changed.

Usage: import_motifs_fenetre.py GRAVELUNE CAVTOOL
Exits 77 (skipped) when Xvfb, xdotool, xwininfo, ImageMagick's import or
tesseract with its French data is missing.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import parcours_fenetre as pf  # noqa: E402

RACINE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
DOCUMENT = os.path.join(RACINE, "tests", "survey", "fixtures", "document", "reseau_511.cav")
MOTIFS = os.path.join(RACINE, "tests", "drawing", "fixtures", "import_511.mtf")
# Names of the pattern file's entries (see fabrique_mtf.py, bibliotheque_import).
NOMS = ["Ruisseau", "Sable fin", "Légende"]


def contient(chemin, nom):
    with open(chemin, "rb") as f:
        return nom.encode("cp1252") in f.read()


def parcours(ecran, gravelune, cavtool):
    documents = os.path.join(ecran.dossier, "maison", "Documents")
    cav = os.path.join(documents, "Essai.cav")
    mtf = os.path.join(documents, "Mes motifs.mtf")
    avant_mtf = pf.empreinte(mtf)
    for nom in NOMS:
        if contient(cav, nom):
            raise pf.Echec(f"le document contient déjà « {nom} »")

    # 1. The document open.
    titre = ecran.lance(gravelune, cav)[1]
    if "*" in titre:
        raise pf.Echec(f"le document ouvert se dit modifié : « {titre} »")
    pf.journal(f"ouvert : « {titre} »")

    # 2. Motifs / Fontes > Importer, the file typed.
    ecran.clique(ecran.trouve(lambda: pf.barre(ecran), "Motifs", "le menu Motifs / Fontes"))
    menu = ecran.attend_fenetre(lambda n: n == "Gravelune", "le menu Motifs / Fontes")
    ecran.clique(ecran.trouve(lambda: ecran.lit(*menu[2:6]), "Importer", "l'entrée Importer"))
    dialogue = ecran.attend_fenetre(lambda n: n.startswith("Ouvrir"), "la boîte d'ouverture des motifs")
    ecran.tape(dialogue, mtf)
    ecran.touches(dialogue, "Return")
    ecran.attend_disparition(dialogue, "la boîte d'ouverture des motifs")
    modifie = ecran.attend_fenetre(lambda n: "*" in n, "le titre du document modifié", grande=True)[1]
    pf.journal(f"motifs importés : « {modifie} »")

    # 3. Saved, then Quitter asks nothing.
    ecran.touches(ecran.principale(), "alt+f", "e")
    ecran.attend_fenetre(lambda n: "*" not in n and n.endswith("Gravelune"), "le titre du document enregistré",
                         grande=True)
    pf.quitte_sans_question(ecran, "après l'enregistrement")

    # 4. The saved document.
    for nom in NOMS:
        if not contient(cav, nom):
            raise pf.Echec(f"le document enregistré ne contient pas « {nom} »")
    calcul = subprocess.run([cavtool, "compute", cav], capture_output=True, text=True, timeout=60)
    if calcul.returncode != 0 or "Grotte A" not in calcul.stdout:
        raise pf.Echec(f"cavtool compute {cav} : code {calcul.returncode}, {calcul.stdout[:200]} {calcul.stderr[:200]}")
    if pf.empreinte(mtf) != avant_mtf:
        raise pf.Echec("le fichier de motifs a changé")
    pf.journal("document enregistré avec les motifs ; cavtool le calcule")


def main():
    return pf.session("import-motifs-fenetre-", {"Essai.cav": DOCUMENT, "Mes motifs.mtf": MOTIFS}, parcours)


if __name__ == "__main__":
    sys.exit(main())
