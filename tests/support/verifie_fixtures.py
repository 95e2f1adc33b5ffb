#!/usr/bin/python3
"""Runs every fixture script of the tests (each *.py under a fixtures folder)
again, from a copy of the scripts laid out as in the source tree inside a
temporary folder, and compares every file a script writes with the committed
fixture of the same name byte for byte: a script and its fixtures cannot
drift apart.  A script that fails, writes nothing, or writes a file that is
not committed or differs from it fails the check.

Usage: verifie_fixtures.py [source folder]   (default: the tree holding this
script)"""
import os
import shutil
import subprocess
import sys
import tempfile


def scripts_de_fixtures(racine):
    tests = os.path.join(racine, 'tests')
    r = []
    for dossier, sous, fichiers in os.walk(tests):
        sous[:] = sorted(d for d in sous if d != '__pycache__')
        relatif = os.path.relpath(dossier, racine)
        if 'fixtures' not in relatif.split(os.sep):
            continue
        r += [os.path.join(relatif, f) for f in sorted(fichiers) if f.endswith('.py')]
    return r


def contenu(dossier):
    """The files below the folder, by relative path, with their modification
    stamp, bytecode left out."""
    r = {}
    for d, sous, fichiers in os.walk(dossier):
        sous[:] = [s for s in sous if s != '__pycache__']
        for f in fichiers:
            chemin = os.path.join(d, f)
            r[os.path.relpath(chemin, dossier)] = os.stat(chemin).st_mtime_ns
    return r


def main():
    racine = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                             os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
    scripts = scripts_de_fixtures(racine)
    if not scripts:
        print('aucun script de fixtures sous', os.path.join(racine, 'tests'))
        return 1
    erreurs = []
    comparés = 0
    with tempfile.TemporaryDirectory() as temp:
        for s in scripts:
            os.makedirs(os.path.join(temp, os.path.dirname(s)), exist_ok=True)
            shutil.copy2(os.path.join(racine, s), os.path.join(temp, s))
        for s in scripts:
            avant = contenu(temp)
            fin = subprocess.run([sys.executable, '-B', os.path.join(temp, s)], cwd=temp,
                                 capture_output=True, text=True)
            if fin.returncode != 0:
                erreurs.append('%s : échec (code %d)\n%s' % (s, fin.returncode, fin.stderr))
                continue
            apres = contenu(temp)
            ecrits = sorted(f for f, t in apres.items() if avant.get(f) != t and not f.endswith('.py'))
            if not ecrits:
                erreurs.append('%s : aucun fichier écrit' % s)
            for f in ecrits:
                engage = os.path.join(racine, f)
                with open(os.path.join(temp, f), 'rb') as g:
                    octets = g.read()
                if not os.path.exists(engage):
                    erreurs.append('%s : %s écrit mais absent du dépôt' % (s, f))
                    continue
                with open(engage, 'rb') as g:
                    if g.read() != octets:
                        erreurs.append('%s : %s diffère du fichier engagé' % (s, f))
                comparés += 1
    for e in erreurs:
        print(e)
    print('%d scripts, %d fichiers comparés, %d écarts' % (len(scripts), comparés, len(erreurs)))
    return 1 if erreurs else 0


if __name__ == '__main__':
    sys.exit(main())
