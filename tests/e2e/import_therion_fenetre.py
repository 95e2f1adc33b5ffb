#!/usr/bin/python3
"""A caver imports Therion files, through the real window.

The program runs on its own X server (Xvfb), driven as in parcours_fenetre.py
(menus clicked by their captions found by OCR, paths typed into Qt's file
dialog, message boxes answered with Return):

  1. starts on a survey document (Olivier.tro imported by cavtool);
     Imports > "Fichier Carnet Electronique" with a Therion file whose data
     are northings and eastings ("data cartesian"): the error box names the
     file, its line 6 and the style, then the main window says the import
     was abandoned; the open document is unchanged (caption
     not marked modified, Quitter asks nothing, its file and folder as they
     were);
  2. starts with no document and imports M1b.th (a UTM fix and a date, no
     declination command) the same way; the gallery window, OK;
  3. the second tool bar shows the trip's declination, computed for the
     date and the entrance (what `cavtool declination` gives there, not 0);
     a right click on the "Lever :" field shows the trip read-only with that
     declination; a double click opens its correction, where "Calcul
     automatique" computes the same value again (at the entrance's height,
     as the network computation does); Annuler.

Usage: import_therion_fenetre.py GRAVELUNE CAVTOOL
Exits 77 (skipped) when Xvfb, xdotool, xwininfo, ImageMagick's import or
tesseract with its French data is missing.
"""

import datetime
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import export_partie_fenetre as ep  # noqa: E402
import parcours_fenetre as pf  # noqa: E402

RACINE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
CARTESIEN = os.path.join(RACINE, "tests", "formats", "fixtures", "therion", "cartesien.th")
M1B = os.path.join(RACINE, "..", "shared", "fixtures", "therion", "M1b.th")
# M1b's fixed station (UTM 32 north, WGS84) and survey date.
FIX = ("326903.675", "5026481.521", "3005")
DATE = datetime.date(2023, 10, 4)


def importe_carnet(ecran, chemin):
    """Imports > "Fichier Carnet Electronique", the path typed into the open
    dialog (its first filter: the TopoDroid / Qave ".th" files)."""
    ecran.clique(ecran.trouve(lambda: pf.barre(ecran), "Imports", "le menu Imports"))
    menu = ecran.attend_fenetre(lambda n: n == "Gravelune", "le menu Imports")
    ecran.clique(ecran.trouve(lambda: ecran.lit(*menu[2:6]), "Carnet", "l'entrée Fichier Carnet Electronique"))
    dialogue = ecran.attend_fenetre(lambda n: n.startswith("Ouvrir"), "la boîte d'ouverture de l'import")
    ecran.tape(dialogue, chemin)
    ecran.touches(dialogue, "Return")
    ecran.attend_disparition(dialogue, "la boîte d'ouverture de l'import")


def declinaison_attendue(cavtool):
    """The declination of M1b's date at its fixed station, in degrees, at the
    station's altitude (the trip's, computed with the network, and the trip
    dialog's): what cavtool computes."""
    conversion = subprocess.run([cavtool, "convert", "--zone", "32", "UTM", "WGS84", *FIX[:2]],
                                capture_output=True, text=True, timeout=60)
    nombres = re.findall(r"-?\d+\.\d+", conversion.stdout)
    if conversion.returncode != 0 or len(nombres) < 2:
        raise pf.Echec(f"cavtool convert : {conversion.stdout[:200]} {conversion.stderr[:200]}")
    lat, lon = nombres[0], nombres[1]
    # The decimal year: the day of the year (1 for 1 January) over the days of that year.
    premier = datetime.date(DATE.year, 1, 1)
    jours = (datetime.date(DATE.year + 1, 1, 1) - premier).days
    annee = DATE.year + ((DATE - premier).days + 1) / jours
    calcul = subprocess.run([cavtool, "declination", f"{annee:.6f}", lat, lon, FIX[2]], capture_output=True,
                            text=True, timeout=60)
    if calcul.returncode != 0:
        raise pf.Echec(f"cavtool declination : {calcul.stdout[:200]} {calcul.stderr[:200]}")
    valeur = float(calcul.stdout.split()[0])
    pf.journal(f"entrée en {lat} N {lon} E ; déclinaison du {DATE} : {valeur:.4f} ° (altitude {FIX[2]} m)")
    return valeur


def nombres_lus(texte):
    """The decimal numbers of an OCR text, with a point or a comma."""
    return [float(n.replace(",", ".")) for n in re.findall(r"-?\d+[.,]\d\d\b", texte)]


def champ_lever(ecran):
    """The "Lever :" label of the second tool bar: the field stands right of it."""
    p = ecran.principale()
    def lire():
        return [m for m in ecran.lit(p[2], p[3] + 40, 700, 90) if m[2] > p[3] + 50]
    etiquette = ecran.trouve(lire, "Lever", "l'étiquette Lever : de la seconde barre")
    return etiquette, lire


def texte_contraste(ecran, fenetre):
    """The OCR text of the lower third of a trip window (the declination
    group), whose disabled controls are grey on grey when the trip is shown
    read-only: the greys stretched to black and white."""
    _, _, x, y, w, h = fenetre
    brute = os.path.join(ecran.dossier, "lever-brut.png")
    image = os.path.join(ecran.dossier, "lever.png")
    ecran.x("import", "-window", "root", "-crop", f"{w}x{h // 3}+{x}+{y + h - h // 3}", "+repage", brute)
    ecran.x("convert", brute, "-colorspace", "gray", "-resize", "200%", "-level", "55%,90%", "-bordercolor", "white",
            "-border", str(pf.MARGE), image)
    env = dict(ecran.env, OMP_THREAD_LIMIT="1")
    return subprocess.run(["tesseract", image, "-", "-l", "fra", "--psm", "11"], env=env, capture_output=True,
                          text=True, timeout=60).stdout.replace("\n", " ")


def texte_contraste_attendu(ecran, fenetre, condition):
    """As Ecran.texte_attendu, with texte_contraste."""
    limite = time.monotonic() + pf.ATTENTE
    while True:
        texte = texte_contraste(ecran, fenetre)
        if condition(pf.sans_accents(texte)) or time.monotonic() > limite:
            return texte
        time.sleep(0.5)


def fenetre_lever(ecran, debut):
    return ecran.attend_fenetre(lambda n: n.startswith(debut), f"la fenêtre « {debut} »")


def parcours(ecran, gravelune, cavtool):
    documents = os.path.join(ecran.dossier, "maison", "Documents")
    cartesien = os.path.join(documents, "cartesien.th")
    m1b = os.path.join(documents, "M1b.th")
    avant_th = pf.empreinte(cartesien)

    # 1. The document open, the unsupported file refused.
    cav, _, avant_cav, titre = ep.ouvre_olivier(ecran, gravelune, cavtool)
    fichiers = set(os.listdir(documents))
    importe_carnet(ecran, cartesien)
    message = ecran.attend_fenetre(lambda n: n.startswith("Erreur"), "le message du refus")
    texte = ecran.texte_attendu(message, lambda t: "cartesien.th" in t and "ligne 6" in t and "cartesian" in t,
                                psm=6)
    simple = pf.sans_accents(texte)
    if not all(m in simple for m in ("cartesien.th", "ligne 6", "cartesian", "pas prises en charge")):
        raise pf.Echec(f"le message ne nomme pas le fichier, la ligne 6 et le style ; lu : {texte}")
    pf.journal(f"message : « {texte} »")
    ecran.touches(message, "Return")
    ecran.attend_disparition(message, "le message du refus")
    # Then the main window's own word on the failed import.
    abandon = ecran.attend_fenetre(lambda n: n.startswith("Erreur"), "le message de l'import abandonné")
    texte = ecran.texte_attendu(abandon, lambda t: "abandonnee" in t, psm=6)
    if "abandonnee" not in pf.sans_accents(texte):
        raise pf.Echec(f"le second message ne dit pas que l'import est abandonné ; lu : {texte}")
    ecran.touches(abandon, "Return")
    ecran.attend_disparition(abandon, "le message de l'import abandonné")
    # A moment for a wrong change to show: on a slow machine it can only miss
    # a fault, never fail a right program.
    time.sleep(0.5)
    if [f for f in ecran.fenetres() if f[1].startswith("Nommer les galeries")]:
        raise pf.Echec("la fenêtre des galeries s'est ouverte après le refus")
    ep.document_intact(ecran, titre, cav, avant_cav)
    if set(os.listdir(documents)) != fichiers:
        raise pf.Echec(f"le dossier a changé : {sorted(fichiers)} -> {sorted(os.listdir(documents))}")
    if pf.empreinte(cartesien) != avant_th:
        raise pf.Echec("cartesien.th a changé")
    pf.journal("document et fichiers intacts")

    # 2. M1b.th imported into a new document.
    trip = declinaison_attendue(cavtool)
    if abs(trip) < 1:
        raise pf.Echec(f"cavtool donne une déclinaison de {trip} °")
    ecran.lance(gravelune)
    importe_carnet(ecran, m1b)
    galeries = ecran.attend_fenetre(lambda n: n.startswith("Nommer les galeries"), "la fenêtre des galeries")
    ecran.touches(galeries, "Return")
    ecran.attend_disparition(galeries, "la fenêtre des galeries")
    titre = ecran.attend_fenetre(lambda n: "M1b" in n, "le titre du réseau importé", grande=True)[1]
    pf.journal(f"import fait : « {titre} »")

    # 3. The declination of the trip: in the tool bar, then in the trip window.
    etiquette, lire = champ_lever(ecran)
    attendu = f"{trip:.2f}"
    limite = time.monotonic() + pf.ATTENTE
    while True:
        barre2 = " ".join(m[0] for m in lire())
        if attendu in [f"{n:.2f}" for n in nombres_lus(barre2)]:
            break
        if time.monotonic() > limite:
            raise pf.Echec(f"la seconde barre ne montre pas la déclinaison {attendu} ; lu : {barre2}")
        time.sleep(0.5)
    pf.journal(f"seconde barre : « {barre2} »")
    # The field: right of its label, on the same line.
    champ = (etiquette[0], etiquette[1] + 60, etiquette[2])

    ecran.x("xdotool", "mousemove", str(round(champ[1])), str(round(champ[2])), "click", "3")
    vue = fenetre_lever(ecran, "Visualisation d'un lever")
    texte = texte_contraste_attendu(ecran, vue, lambda t: attendu in t.replace(",", "."))
    if attendu not in texte.replace(",", "."):
        raise pf.Echec(f"la visualisation du lever ne montre pas la déclinaison {attendu} ; lu : {texte}")
    pf.journal(f"visualisation : déclinaison {attendu}")
    ecran.touches(vue, "Escape")
    ecran.attend_disparition(vue, "la visualisation du lever")

    ecran.x("xdotool", "mousemove", str(round(champ[1])), str(round(champ[2])), "click", "--repeat", "2", "1")
    rectif = fenetre_lever(ecran, "Rectification d'un lever")
    calcule = f"{trip:.2f}"
    texte = texte_contraste_attendu(ecran, rectif,
                                    lambda t: calcule in t.replace(",", ".") and "calcul automatique" in t)
    if calcule not in texte.replace(",", ".") or "calcul automatique" not in pf.sans_accents(texte):
        raise pf.Echec(f"la rectification ne montre pas le calcul automatique {calcule} ; lu : {texte}")
    pf.journal(f"rectification : calcul automatique, déclinaison {calcule}")
    ecran.touches(rectif, "Escape")
    ecran.attend_disparition(rectif, "la rectification du lever")


def main():
    return pf.session("import-therion-fenetre-", {"Olivier.tro": pf.FIXTURE, "cartesien.th": CARTESIEN, "M1b.th": M1B},
                      parcours)


if __name__ == "__main__":
    sys.exit(main())
