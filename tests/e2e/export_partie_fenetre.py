#!/usr/bin/python3
"""A caver exports a part of a cave, through the real window.

The program runs on its own X server (Xvfb), driven as in parcours_fenetre.py
(menus clicked by their captions found by OCR, paths typed into Qt's file
dialog, keys for the File menu):

  1. starts on a survey document (the VTopo fixture Olivier.tro imported by
     cavtool);
  2. Exports > "Partie d'une cavité": the shot selection window opens with
     the caption "Export d'une partie d'une cavité"; a click on a red survey
     line of the screen selects that shot and those after it (drawn green);
     OK;
  3. the save dialog: the file name typed, Return;
  4. the partial file holds a part of the cave's stations (not all, not
     none) at the coordinates cavtool computes on the source; the open
     document is not marked modified (Quitter asks nothing) and its file is
     unchanged.

Usage: export_partie_fenetre.py GRAVELUNE CAVTOOL
Exits 77 (skipped) when Xvfb, xdotool, xwininfo, ImageMagick's import or
tesseract with its French data is missing.
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import parcours_fenetre as pf  # noqa: E402


def pixels(ecran, fenetre):
    """The window's pixels as read from the screen: (width, height, RGB bytes)."""
    _, _, x, y, w, h = fenetre
    brute = os.path.join(ecran.dossier, "fenetre.png")
    ecran.x("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", brute)
    octets = subprocess.run(["convert", brute, "-depth", "8", "rgb:-"], capture_output=True, timeout=30).stdout
    if len(octets) != w * h * 3:
        raise pf.Echec(f"capture de {len(octets)} octets pour {w}x{h}")
    return w, h, octets


def teinte(ecran, fenetre, critere):
    """The screen points of the window whose colour meets the criterion."""
    w, h, o = pixels(ecran, fenetre)
    return [(fenetre[2] + i % w, fenetre[3] + i // w) for i in range(w * h)
            if critere(o[3 * i], o[3 * i + 1], o[3 * i + 2])]


def attend_teinte(ecran, fenetre, critere, minimum, quoi, delai=pf.ATTENTE):
    """The screen points of the window of that colour, read again until there
    are at least minimum of them (the window may still be drawing)."""
    limite = time.monotonic() + delai
    while True:
        points = teinte(ecran, fenetre, critere)
        if len(points) >= minimum:
            return points
        if time.monotonic() > limite:
            raise pf.Echec(f"{quoi} ({len(points)} points)")
        time.sleep(0.3)


def rouge(r, v, b):
    return r > 200 and v < 60 and b < 60


def vert(r, v, b):
    return v > 200 and r < 80 and b < 80


def stations(cavtool, chemin):
    calcul = subprocess.run([cavtool, "compute", chemin], capture_output=True, text=True, timeout=60)
    if calcul.returncode != 0:
        raise pf.Echec(f"cavtool compute {chemin} : code {calcul.returncode}, {calcul.stderr[:300]}")
    resultat = {}
    for ligne in calcul.stdout.splitlines():
        champs = ligne.split(";")
        if len(champs) == 5:
            resultat[champs[1]] = tuple(float(c) for c in champs[2:])
    return resultat


def choisit_des_visees(ecran, entree, titre):
    """Exports > the entry (a word of it), then in the shot selection window
    of that caption a click on a red survey line of the screen: that shot
    and those after it are drawn green; OK."""
    ecran.clique(ecran.trouve(lambda: pf.barre(ecran), "Exports", "le menu Exports"))
    menu = ecran.attend_fenetre(lambda n: n == "Gravelune", "le menu Exports")
    ecran.clique(ecran.trouve(lambda: ecran.lit(*menu[2:6]), entree, f"l'entrée {entree}"))
    choix = ecran.attend_fenetre(lambda n: n.startswith(titre + " —"), "la fenêtre de sélection", grande=True)
    lignes = attend_teinte(ecran, choix, rouge, 50, "la fenêtre de sélection ne montre pas le lever en rouge")
    # A point of a survey line a third of the way across the drawing.
    lignes.sort()
    cible = lignes[len(lignes) // 3]
    ecran.x("xdotool", "mousemove", str(cible[0]), str(cible[1]), "click", "1")
    limite = time.monotonic() + pf.ATTENTE
    while not teinte(ecran, choix, vert):
        if time.monotonic() > limite:
            raise pf.Echec(f"le clic en {cible} ne sélectionne aucune visée (rien en vert)")
        time.sleep(0.5)
    pf.journal(f"visées choisies par un clic en {cible}")
    ecran.clique(ecran.trouve(lambda: ecran.lit(*choix[2:6]), "OK", "le bouton OK"))
    ecran.attend_disparition(choix, "la fenêtre de sélection")


def enregistre_sous(ecran, chemin):
    """In the save dialog that comes up, the path typed over the name
    proposed, Return; the file must then appear."""
    nom = ecran.attend_fenetre(lambda n: n.startswith("Enregistrer"), "la boîte d'enregistrement")
    ecran.touches(nom, "ctrl+a")
    ecran.tape(nom, chemin)
    ecran.touches(nom, "Return")
    ecran.attend_disparition(nom, "la boîte d'enregistrement")
    limite = time.monotonic() + pf.ATTENTE
    while not os.path.isfile(chemin):
        if time.monotonic() > limite:
            raise pf.Echec(f"{chemin} n'a pas été écrit ; fenêtres : {[f[1] for f in ecran.fenetres()]}")
        time.sleep(0.3)


def ferme_les_messages(ecran):
    """After a file was written: the message box that says so, waited for
    (the file is whole once it shows), then it and any other message box
    shown are read into the log and closed with Return."""
    def messages():
        return [f for f in ecran.fenetres() if f[1] == "Gravelune" and 100 < f[4] < 1000]
    limite = time.monotonic() + pf.ATTENTE
    while not messages():
        if time.monotonic() > limite:
            raise pf.Echec(f"aucun message après l'écriture ; fenêtres : {[f[1] for f in ecran.fenetres()]}")
        time.sleep(0.3)
    while messages():
        f = messages()[0]
        pf.journal(f"message : « {ecran.texte(f)} »")
        ecran.touches(f, "Return")
        ecran.attend_disparition(f, "le message")


def document_intact(ecran, titre, cav, empreinte):
    """After an export: the caption unchanged (not marked modified), Quitter
    asks nothing, the document's file has its bytes and mode."""
    if ecran.principale()[1] != titre:
        raise pf.Echec(f"après l'export le titre est « {ecran.principale()[1]} » au lieu de « {titre} »")
    pf.quitte_sans_question(ecran, "après l'export")
    if pf.empreinte(cav) != empreinte:
        raise pf.Echec("le document a changé (contenu ou mode)")


def ouvre_olivier(ecran, gravelune, cavtool):
    """Olivier.tro of the Documents folder imported by cavtool into
    Olivier.cav, which the program opens: (the document's path, its stations
    as cavtool computes them, its fingerprint, the window's caption)."""
    documents = os.path.join(ecran.dossier, "maison", "Documents")
    tro = os.path.join(documents, "Olivier.tro")
    cav = os.path.join(documents, "Olivier.cav")
    importe = subprocess.run([cavtool, "import", tro, cav], capture_output=True, text=True, timeout=60)
    if importe.returncode != 0:
        raise pf.Echec(f"cavtool import : {importe.stderr[:300]}")
    source = stations(cavtool, cav)
    empreinte = pf.empreinte(cav)
    titre = ecran.lance(gravelune, cav)[1]
    if "*" in titre:
        raise pf.Echec(f"le document ouvert se dit modifié : « {titre} »")
    pf.journal(f"ouvert : « {titre} », {len(source)} stations")
    return cav, source, empreinte, titre


def parcours(ecran, gravelune, cavtool):
    # 1. The document open.
    cav, source, avant_cav, titre = ouvre_olivier(ecran, gravelune, cavtool)
    partie = os.path.join(os.path.dirname(cav), "Morceau.cav")

    # 2. Exports > Partie d'une cavité, a click on a shot, OK.
    choisit_des_visees(ecran, "Partie", "Export d'une partie d'une cavité")

    # 3. The file name.
    enregistre_sous(ecran, partie)
    # The message that says where the file went.
    message = ecran.attend_fenetre(lambda n: n == "Gravelune", "le message d'enregistrement")
    texte = ecran.texte_attendu(message, lambda t: "morceau.cav" in t)
    if "morceau.cav" not in pf.sans_accents(texte):
        raise pf.Echec(f"le message ne nomme pas le fichier écrit ; lu : {texte}")
    pf.journal(f"message : « {texte} »")
    ecran.touches(message, "Return")
    ecran.attend_disparition(message, "le message d'enregistrement")

    # 4. The part: some of the stations, where the source has them.
    exportees = stations(cavtool, partie)
    souterraines = {n: p for n, p in exportees.items() if n in source}
    if not souterraines or len(souterraines) >= len(source):
        raise pf.Echec(f"la partie a {len(souterraines)} des {len(source)} stations : {sorted(exportees)}")
    for n, p in souterraines.items():
        if any(abs(a - b) > 1e-3 for a, b in zip(p, source[n])):
            raise pf.Echec(f"la station {n} est en {p} dans la partie et en {source[n]} dans le document")
    pf.journal(f"partie écrite : {sorted(souterraines)}")

    # The open document: not modified, its file unchanged.
    document_intact(ecran, titre, cav, avant_cav)
    pf.journal("document intact")


def main():
    return pf.session("export-partie-fenetre-", {"Olivier.tro": pf.FIXTURE}, parcours)


if __name__ == "__main__":
    sys.exit(main())
