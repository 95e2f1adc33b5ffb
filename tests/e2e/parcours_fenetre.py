#!/usr/bin/python3
"""A caver's first session, driven through the real window.

The program runs on its own X server (Xvfb) and is used the way a person
uses it: menus opened by clicking their captions (found on screenshots by
OCR) or by their Alt shortcuts, paths typed into Qt's file dialogs, message
boxes answered with Return and Escape. The session:

  1. starts with no document, imports Olivier.tro through the Imports menu,
     answers the gallery window, adds a cave with "Cavité +";
  2. Fichier > Quitter: the save question appears; Escape (Annuler) keeps
     the window; Quitter again and Oui saves the document under a new name;
  3. starts again on the saved file: the new cave is in the cave selector;
  4. opens an empty .cav: the message says the file could not be read, and
     the open document stays as it was (same title, same cave, not marked
     modified: quitting asks nothing);
  5. the VTopo file was never changed (bytes and mode).

Usage: parcours_fenetre.py GRAVELUNE CAVTOOL
Exits 77 (skipped) when Xvfb, xdotool, xwininfo, ImageMagick's import or
tesseract with its French data is missing.
"""

import ctypes
import hashlib
import os
import re
import select
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unicodedata

SAUTE = 77
FIXTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "shared", "fixtures", "vtopo",
                       "Olivier.tro")
NOUVELLE_CAVITE = "Gouffre Essai"
# A white frame around each OCR strip: tesseract misses words that touch the edge.
MARGE = 20
# The bound of a wait for what the test caused (the X server up, a window
# shown, a text painted): long enough for a loaded machine, never reached by
# a session that goes through.
ATTENTE = 30
DEBUT = time.monotonic()


class Echec(Exception):
    pass


def meurt_avec_le_test():
    """In the child: the kernel kills it when the test itself is killed (a ctest timeout)."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def journal(texte):
    print(f"[{time.monotonic() - DEBUT:6.1f}s] {texte}", flush=True)


def outils_manquants():
    manque = [o for o in ("Xvfb", "xdotool", "xwininfo", "import", "convert", "tesseract") if not shutil.which(o)]
    if not manque:
        langues = subprocess.run(["tesseract", "--list-langs"], capture_output=True, text=True,
                                 timeout=ATTENTE).stdout.split()
        if "fra" not in langues:
            manque.append("tesseract-ocr-fra")
    return manque


def empreinte(chemin):
    with open(chemin, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest(), os.stat(chemin).st_mode


def serveur_x_repond(numero, delai=5):
    """The X server of display numero answers a connection set-up with
    success: a local connection, on the abstract socket then on the file in
    /tmp/.X11-unix, as the X client library tries them."""
    chemin = f"/tmp/.X11-unix/X{numero}"
    for adresse in ("\0" + chemin, chemin):
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
            s.settimeout(delai)
            try:
                s.connect(adresse)
                # Little-endian client, protocol 11.0, no authorisation.
                s.sendall(b"l\0" + (11).to_bytes(2, "little") + bytes(8))
                if s.recv(1) == b"\1":
                    return True
            except OSError:
                pass
    return False


def sans_accents(mot):
    mot = unicodedata.normalize("NFKD", mot.replace("’", "'"))
    return "".join(c for c in mot if not unicodedata.combining(c)).lower()


class Ecran:
    """The X server, the program on it, and what a person sees and does."""

    def __init__(self, dossier):
        self.dossier = dossier
        self.xvfb = None
        self.programme = None
        self.sortie_programme = None
        self.env = None
        self.captures = 0

    # --- the X server -------------------------------------------------------
    def demarre_x(self, delai=2 * ATTENTE):
        """Xvfb on a display it chooses itself (-displayfd: no race with a
        server started at the same moment), then waited for until its
        socket accepts a connection, each within the delay.  The server
        never resets (-noreset): by default it starts again whenever its last
        client leaves, and a program that connects meanwhile (after the
        readiness probe, an xdotool call or a program that quit) is refused."""
        lecture, ecriture = os.pipe()
        with open(os.path.join(self.dossier, "xvfb.log"), "ab") as sortie:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(ecriture), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                pass_fds=(ecriture,), stdout=sortie, stderr=subprocess.STDOUT, preexec_fn=meurt_avec_le_test)
        os.close(ecriture)
        numero = b""
        limite = time.monotonic() + delai
        while not numero.endswith(b"\n"):
            reste = limite - time.monotonic()
            if reste <= 0 or not select.select([lecture], [], [], reste)[0]:
                break
            morceau = os.read(lecture, 16)
            if not morceau:
                break
            numero += morceau
        os.close(lecture)
        if not numero.endswith(b"\n"):
            raise Echec(f"Xvfb n'a pas donné de numéro d'affichage en {delai} s{self.etat_x()}")
        numero = int(numero)
        while not serveur_x_repond(numero):
            if self.xvfb.poll() is not None:
                raise Echec(f"Xvfb s'est arrêté avant d'accepter une connexion{self.etat_x()}")
            if time.monotonic() > limite:
                raise Echec(f"le serveur X :{numero} n'accepte pas de connexion en {delai} s{self.etat_x()}")
            time.sleep(0.05)
        self.env = dict(os.environ)
        self.env["DISPLAY"] = f":{numero}"
        # The server asks no authorisation: no cookie file of another display.
        self.env.pop("XAUTHORITY", None)
        journal(f"Xvfb sur {self.env['DISPLAY']}")

    def etat_x(self):
        """For a message: whether the X server has ended, and what it printed."""
        if not self.xvfb or self.xvfb.poll() is None:
            return ""
        with open(os.path.join(self.dossier, "xvfb.log"), errors="replace") as f:
            return f" ; Xvfb arrêté (code {self.xvfb.returncode}) : {f.read()[-2000:]}"

    def x(self, *commande, verifie=True):
        r = subprocess.run(list(commande), env=self.env, capture_output=True, text=True, timeout=30)
        if verifie and r.returncode != 0:
            raise Echec(f"{' '.join(commande)} : code {r.returncode} {r.stderr.strip()}")
        return r.stdout

    # --- the program --------------------------------------------------------
    def lance(self, programme, *arguments, attend_document=True):
        env = dict(self.env)
        maison = os.path.join(self.dossier, "maison")
        env.update({
            "HOME": maison,
            "XDG_CONFIG_HOME": os.path.join(maison, ".config"),
            "XDG_RUNTIME_DIR": os.path.join(self.dossier, "run"),
            "QT_QPA_PLATFORM": "xcb",
            "ASAN_OPTIONS": "detect_leaks=0",
            "LANG": "fr_FR.UTF-8",
        })
        env.pop("QT_QPA_PLATFORMTHEME", None)
        if self.xvfb.poll() is not None:
            raise Echec(f"le serveur X n'est plus là pour lancer le programme{self.etat_x()}")
        self.sortie_programme = open(os.path.join(self.dossier, "gravelune.log"), "ab")
        self.programme = subprocess.Popen([programme, *arguments], env=env, cwd=maison, stdout=self.sortie_programme,
                                          stderr=subprocess.STDOUT, preexec_fn=meurt_avec_le_test)
        journal(f"gravelune {' '.join(os.path.basename(a) for a in arguments)} lancé")
        # Started on a document, the window first shows its bare caption, then
        # the network's once the document is read (unless the caller answers
        # a message the reading shows first).
        return self.attend_fenetre(
            lambda n: n.endswith("Gravelune") and (not arguments or not attend_document or n.startswith("Réseau")),
            "la fenêtre principale", grande=True)

    def attend_fin(self, delai=30):
        try:
            code = self.programme.wait(timeout=delai)
        except subprocess.TimeoutExpired:
            raise Echec("le programme ne s'est pas arrêté")
        self.programme = None
        return code

    def arrete(self):
        """The program killed, then the X server stopped (SIGTERM, so that it
        removes its socket; SIGKILL if it is still there after the delay)."""
        if self.programme and self.programme.poll() is None:
            self.programme.kill()
            self.programme.wait(timeout=ATTENTE)
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait(timeout=ATTENTE)
        self.programme = None
        self.xvfb = None

    # --- windows ------------------------------------------------------------
    def fenetres(self):
        """The visible top-level windows of the program: (id, title, x, y, w, h)."""
        visibles = set()
        sortie = self.x("xdotool", "search", "--onlyvisible", "--class", "gravelune", verifie=False)
        for ligne in sortie.split():
            visibles.add(int(ligne))
        resultat = []
        for ligne in self.x("xwininfo", "-root", "-children").splitlines():
            m = re.match(r'\s*(0x[0-9a-f]+) "(.*)": \(.*\)\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+)', ligne)
            if m and int(m.group(1), 16) in visibles:
                w, h, x, y = (int(m.group(i)) for i in (3, 4, 5, 6))
                if w < 20 or h < 20:
                    continue
                resultat.append((m.group(1), m.group(2), x, y, w, h))
        return resultat

    def attend_fenetre(self, critere, quoi, delai=40, grande=False):
        limite = time.monotonic() + delai
        while time.monotonic() < limite:
            if self.programme and self.programme.poll() is not None:
                raise Echec(f"le programme s'est arrêté (code {self.programme.returncode}) en attendant {quoi}"
                            f"{self.etat_x()}")
            for f in self.fenetres():
                if critere(f[1]) and (not grande or f[4] > 400):
                    # A moment to paint: what is read from the window is
                    # read again until it shows, so this decides nothing.
                    time.sleep(0.5)
                    return f
            time.sleep(0.2)
        raise Echec(f"{quoi} n'apparaît pas ; fenêtres : {[f[1] for f in self.fenetres()]}")

    def attend_disparition(self, fenetre, quoi, delai=30):
        limite = time.monotonic() + delai
        while time.monotonic() < limite:
            if all(f[0] != fenetre[0] for f in self.fenetres()):
                return
            time.sleep(0.2)
        raise Echec(f"{quoi} reste affichée")

    def principale(self):
        grandes = [f for f in self.fenetres() if f[4] > 1000]
        if not grandes:
            raise Echec("la fenêtre principale n'est plus là")
        return grandes[0]

    # --- what a person sees -------------------------------------------------
    def capture(self, nom):
        self.captures += 1
        chemin = os.path.join(self.dossier, f"{self.captures:02d}-{nom}.png")
        self.x("import", "-window", "root", chemin, verifie=False)
        return chemin

    def lit(self, x, y, w, h, psm=11):
        """OCR of a screen rectangle: the words with their centres in screen pixels."""
        image = os.path.join(self.dossier, "bande.png")
        brute = os.path.join(self.dossier, "bande-brute.png")
        self.x("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", brute)
        self.x("convert", brute, "-colorspace", "gray", "-resize", "200%", "-bordercolor", "white", "-border", str(MARGE), image)
        env = dict(self.env, OMP_THREAD_LIMIT="1")
        tsv = subprocess.run(["tesseract", image, "-", "-l", "fra", "--psm", str(psm), "tsv"], env=env,
                             capture_output=True, text=True, timeout=60).stdout
        mots = []
        for ligne in tsv.splitlines()[1:]:
            champs = ligne.split("\t")
            if len(champs) < 12 or not champs[11].strip():
                continue
            gauche, haut, larg, haut_mot = (int(v) for v in champs[6:10])
            mots.append((champs[11].strip(), x + (gauche - MARGE + larg / 2) / 2, y + (haut - MARGE + haut_mot / 2) / 2))
        return mots

    def texte(self, fenetre, psm=11):
        return " ".join(m[0] for m in self.lit(*fenetre[2:6], psm=psm))

    def trouve(self, lire, mot, quoi, delai=ATTENTE):
        """The word on screen, read again until it shows (a window may still be painting)."""
        limite = time.monotonic() + delai
        while True:
            mots = lire()
            for m in mots:
                if sans_accents(m[0]) == sans_accents(mot):
                    return m
            if time.monotonic() > limite:
                raise Echec(f"« {mot} » ({quoi}) n'est pas à l'écran ; lu : {' '.join(m[0] for m in mots)}")
            time.sleep(0.5)

    def texte_attendu(self, fenetre, condition, psm=11, delai=ATTENTE):
        """The text of a window, read again until it meets the condition or the delay is over."""
        limite = time.monotonic() + delai
        while True:
            texte = self.texte(fenetre, psm)
            if condition(sans_accents(texte)) or time.monotonic() > limite:
                return texte
            time.sleep(0.5)

    # --- what a person does -------------------------------------------------
    def clique(self, mot):
        self.x("xdotool", "mousemove", str(round(mot[1])), str(round(mot[2])), "click", "1")

    def focus(self, fenetre):
        self.x("xdotool", "windowfocus", "--sync", fenetre[0], verifie=False)

    def touches(self, fenetre, *touches):
        self.focus(fenetre)
        for t in touches:
            self.x("xdotool", "key", t)
            time.sleep(0.4)  # a person's pace; the program gets the keys in order whatever the pause

    def tape(self, fenetre, texte):
        self.focus(fenetre)
        self.x("xdotool", "type", "--delay", "15", texte)


def enregistre_en_quittant(ecran, chemin):
    """Fichier > Quitter on a document never saved: Oui to the question, the
    path typed into "Enregistrer sous", the messages answered; the program
    must end normally."""
    quitte(ecran)
    question = ecran.attend_fenetre(lambda n: n.startswith("Confirmation"), "la question d'enregistrement")
    ecran.touches(question, "Return")
    nom = ecran.attend_fenetre(lambda n: n.startswith("Enregistrer sous"), "la boîte Enregistrer sous")
    ecran.tape(nom, chemin)
    ecran.touches(nom, "Return")
    limite = time.monotonic() + ATTENTE
    while ecran.programme.poll() is None and time.monotonic() < limite:
        info = [f for f in ecran.fenetres() if f[1] == "Gravelune" and f[4] > 100 and f[4] < 1000]
        if info:
            journal(f"message : « {ecran.texte(info[0])} »")
            ecran.touches(info[0], "Return")
        time.sleep(0.3)
    if ecran.attend_fin() != 0:
        raise Echec("le programme ne s'est pas arrêté normalement après Oui")


def barre(ecran):
    """The words of the menu bar and the first tool bar of the main window."""
    p = ecran.principale()
    return ecran.lit(p[2], p[3], p[4], 56)


def selecteur_cavites(ecran):
    """What the cave selector holds: opens it with a click, reads the list, closes it."""
    cavite = ecran.trouve(lambda: barre(ecran), "Cavité", "le bouton Cavité +")
    mots = barre(ecran)
    apres = sorted((m for m in mots if m[0] in ("Gouffre", "Grotte") and abs(m[2] - cavite[2]) < 8),
                   key=lambda m: m[1])
    if not apres:
        raise Echec(f"le sélecteur de cavités ne montre aucune cavité ; lu : {' '.join(m[0] for m in mots)}")
    ecran.clique(apres[0])
    liste = ecran.attend_fenetre(lambda n: n == "Gravelune", "la liste des cavités")
    lu = ecran.texte_attendu(liste, lambda t: "gouffre" in t and "olivier" in t, psm=6)  # one line per cave
    ecran.touches(liste, "Escape")
    ecran.attend_disparition(liste, "la liste des cavités")
    return lu


def ouvre_fichier(ecran, chemin):
    ecran.touches(ecran.principale(), "alt+f", "o")
    dialogue = ecran.attend_fenetre(lambda n: n.startswith("Ouvrir"), "la boîte Ouvrir")
    ecran.tape(dialogue, chemin)
    ecran.touches(dialogue, "Return")
    ecran.attend_disparition(dialogue, "la boîte Ouvrir")


def quitte(ecran):
    ecran.touches(ecran.principale(), "alt+f", "q")


def quitte_sans_question(ecran, apres):
    """Fichier > Quitter on a document with nothing to save: no question
    comes up and the program ends normally (apres: what was done, for the
    message)."""
    quitte(ecran)
    limite = time.monotonic() + ATTENTE
    while ecran.programme.poll() is None and time.monotonic() < limite:
        autres = [f for f in ecran.fenetres() if f[1].startswith("Confirmation")]
        if autres:
            raise Echec(f"Quitter {apres} montre « {autres[0][1]} » : {ecran.texte(autres[0])}")
        time.sleep(0.3)
    if ecran.attend_fin() != 0:
        raise Echec("le programme ne s'est pas arrêté normalement")


def parcours(ecran, gravelune, cavtool):
    maison = os.path.join(ecran.dossier, "maison")
    documents = os.path.join(maison, "Documents")
    tro = os.path.join(documents, "Olivier.tro")
    sauve = os.path.join(documents, "Essai.cav")
    vide = os.path.join(documents, "vide.cav")
    avant_tro = empreinte(tro)

    # 1. No document; import through the Imports menu.
    ecran.lance(gravelune)
    ecran.clique(ecran.trouve(lambda: barre(ecran), "Imports", "le menu Imports"))
    menu = ecran.attend_fenetre(lambda n: n == "Gravelune", "le menu Imports")
    ecran.clique(ecran.trouve(lambda: ecran.lit(*menu[2:6]), "VTopo", "l'entrée Fichier VTopo"))
    dialogue = ecran.attend_fenetre(lambda n: n.startswith("Ouvrir"), "la boîte d'ouverture de l'import")
    ecran.tape(dialogue, tro)
    ecran.touches(dialogue, "Return")
    galeries = ecran.attend_fenetre(lambda n: n.startswith("Nommer les galeries"), "la fenêtre des galeries")
    journal("fenêtre des galeries affichée")
    boutons = ecran.lit(galeries[2], galeries[3] + galeries[5] - 45, galeries[4], 45)
    if any(sans_accents(m[0]) == "ok" for m in boutons):
        ecran.clique(ecran.trouve(lambda: boutons, "OK", "le bouton OK des galeries", delai=0))
    else:  # OK is the default button
        ecran.touches(galeries, "Return")
    ecran.attend_disparition(galeries, "la fenêtre des galeries")
    titre = ecran.attend_fenetre(lambda n: "Olivier" in n, "le titre du réseau importé", grande=True)[1]
    journal(f"import fait : « {titre} »")

    # Add a cave.
    ecran.clique(ecran.trouve(lambda: barre(ecran), "Cavité", "le bouton Cavité +"))
    invite = ecran.attend_fenetre(lambda n: n.startswith("Saisie du nom de la cavit"), "l'invite du nom de la cavité")
    ecran.tape(invite, NOUVELLE_CAVITE)
    ecran.touches(invite, "Return")
    ecran.attend_disparition(invite, "l'invite du nom de la cavité")
    ecran.trouve(lambda: barre(ecran), "Gouffre", "la nouvelle cavité dans le sélecteur")
    journal("cavité ajoutée")

    # 2. Quitter: the question; Annuler keeps the window.
    quitte(ecran)
    question = ecran.attend_fenetre(lambda n: n.startswith("Confirmation"), "la question d'enregistrement")
    texte = ecran.texte_attendu(question, lambda t: "modifie" in t and "enregistrer" in t)
    if "modifié" not in texte or "enregistrer" not in texte:
        raise Echec(f"la question ne dit pas que le document a été modifié ; lu : {texte}")
    journal(f"question : « {texte} »")
    ecran.touches(question, "Escape")
    ecran.attend_disparition(question, "la question d'enregistrement")
    # A moment for a wrong ending to show: on a slow machine it can only miss
    # a fault, never fail a right program.
    time.sleep(1)
    if ecran.programme.poll() is not None:
        raise Echec("Annuler a fermé le programme")
    if ecran.principale()[1] != titre:
        raise Echec(f"après Annuler le titre est « {ecran.principale()[1]} »")
    journal("Annuler garde la fenêtre")

    # Quitter again, Oui: the imported network has no file yet, so a name is asked.
    enregistre_en_quittant(ecran, sauve)
    if not os.path.isfile(sauve):
        raise Echec(f"{sauve} n'a pas été écrit")
    with open(sauve, "rb") as f:
        if NOUVELLE_CAVITE.encode("cp1252") not in f.read():
            raise Echec(f"{sauve} ne contient pas la cavité « {NOUVELLE_CAVITE} »")
    calcul = subprocess.run([cavtool, "compute", sauve], capture_output=True, text=True, timeout=60)
    if calcul.returncode != 0 or "Grotte de l'Olivier;OL" not in calcul.stdout:
        raise Echec(f"cavtool compute {sauve} : code {calcul.returncode}, {calcul.stdout[:200]} {calcul.stderr[:200]}")
    journal("Oui a enregistré le document ; cavtool en calcule les stations")

    # 3. Start again on the saved file: the new cave is there.
    p = ecran.lance(gravelune, sauve)
    titre = p[1]
    if "*" in titre:
        raise Echec(f"le document rouvert se dit modifié : « {titre} »")
    liste = selecteur_cavites(ecran)
    if "Gouffre" not in liste or "Olivier" not in liste:
        raise Echec(f"le sélecteur ne montre pas les deux cavités ; lu : {liste}")
    journal(f"rouvert : « {titre} », cavités : {liste}")
    selecteur_avant = [m[0] for m in barre(ecran)]

    # 4. An empty .cav while the document is open.
    avant_cav = empreinte(sauve)
    open(vide, "wb").close()
    ouvre_fichier(ecran, vide)
    message = ecran.attend_fenetre(lambda n: n.startswith("Erreur"), "le message du fichier vide")
    texte = ecran.texte_attendu(message, lambda t: "vide.cav" in t and "pas pu" in t)
    simple = sans_accents(texte)
    if "vide.cav" not in simple or "pas pu" not in simple:
        raise Echec(f"le message ne dit pas que vide.cav n'a pas pu être lu ; lu : {texte}")
    journal(f"message du fichier vide : « {texte} »")
    ecran.touches(message, "Return")
    ecran.attend_disparition(message, "le message du fichier vide")
    # As after Annuler: a moment for a wrong change to show.
    time.sleep(0.5)
    if ecran.principale()[1] != titre:
        raise Echec(f"après l'échec le titre est « {ecran.principale()[1]} » au lieu de « {titre} »")
    apres = [m[0] for m in barre(ecran)]
    if apres != selecteur_avant:
        raise Echec(f"après l'échec la barre a changé : {selecteur_avant} -> {apres}")
    liste = selecteur_cavites(ecran)
    if "Gouffre" not in liste:
        raise Echec(f"après l'échec la cavité n'est plus là ; lu : {liste}")
    journal("le document ouvert est resté")

    # Not modified: Quitter asks nothing and the program ends.
    quitte_sans_question(ecran, "sur un document non modifié")

    # 5. The user's files.
    if empreinte(sauve) != avant_cav:
        raise Echec(f"{sauve} a changé alors que rien n'a été enregistré")
    if os.path.getsize(vide) != 0:
        raise Echec("le fichier vide a été modifié")
    if empreinte(tro) != avant_tro:
        raise Echec("Olivier.tro a changé (contenu ou mode)")
    # Beside the files of the test: the saved document's companion and the working folder, nothing else
    # (no file for the empty document, no document named after the import).
    nouveaux = set(os.listdir(documents)) - {"Olivier.tro", "Essai.cav", "vide.cav"}
    nouveaux |= set(os.listdir(maison)) - {"Documents", ".config"}
    if not nouveaux <= {"Essai.CFG", "Gravelune"}:
        raise Echec(f"fichiers inattendus dans le dossier : {sorted(nouveaux)}")
    journal("fichiers intacts")


def programme_prive(programme, dossier):
    """The program linked into the session's folder (copied where no link
    can be made): it keeps its settings file beside itself, and from there
    the file is the session's own, not one that every session and the
    tester's own runs share."""
    dossier_bin = os.path.join(dossier, "bin")
    os.makedirs(dossier_bin, exist_ok=True)
    cible = os.path.join(dossier_bin, os.path.basename(programme))
    try:
        os.link(programme, cible)
    except OSError:
        shutil.copy2(programme, cible)
    return cible


def session(prefixe, documents_a_copier, parcours_de_test):
    """Runs a session: skipped (77) when a tool or a file is missing; else a
    fresh home with its Documents folder holding copies of the given files
    (name -> source), the program linked into the session's folder, the X
    server, parcours_de_test(ecran, gravelune, cavtool); 0 when it went
    through, 1 otherwise (the folder is kept)."""
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("ÉCHEC : test interrompu"))
    if len(sys.argv) != 3:
        print(sys.modules["__main__"].__doc__)
        return 2
    manque = outils_manquants()
    if manque:
        print(f"test sauté : il manque {', '.join(manque)}")
        return SAUTE
    for source in documents_a_copier.values():
        if not os.path.isfile(source):
            print(f"test sauté : {source} absent")
            return SAUTE
    gravelune, cavtool = (os.path.abspath(a) for a in sys.argv[1:])
    dossier = tempfile.mkdtemp(prefix=prefixe)
    maison = os.path.join(dossier, "maison")
    os.makedirs(os.path.join(maison, ".config"))
    documents = os.path.join(maison, "Documents")
    os.makedirs(documents)
    os.makedirs(os.path.join(dossier, "run"), mode=0o700)
    for nom, source in documents_a_copier.items():
        shutil.copyfile(source, os.path.join(documents, nom))
        os.chmod(os.path.join(documents, nom), 0o644)
    gravelune = programme_prive(gravelune, dossier)
    ecran = Ecran(dossier)
    reussi = False
    try:
        ecran.demarre_x()
        parcours_de_test(ecran, gravelune, cavtool)
        reussi = True
    except (Echec, subprocess.TimeoutExpired) as e:
        print(f"ÉCHEC : {e}")
        if ecran.xvfb:
            print(f"capture d'écran : {ecran.capture('echec')}")
    finally:
        ecran.arrete()
        if ecran.sortie_programme:
            ecran.sortie_programme.close()
    journal("fin")
    if reussi:
        shutil.rmtree(dossier, ignore_errors=True)
        return 0
    print(f"dossier du test : {dossier} (gravelune.log, captures)")
    return 1


def main():
    return session("parcours-fenetre-", {"Olivier.tro": FIXTURE}, parcours)


if __name__ == "__main__":
    sys.exit(main())
