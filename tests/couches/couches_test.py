#!/usr/bin/python3
"""The layering checker (scripts/couches.py) on small trees of its own."""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "couches.py")

COUCHES = """\
foundation (lib_foundation):
survey (lib_survey): foundation
platform/qt [qt] (lib_qt): foundation
views (lib_views): survey
views/windows [qt]: views platform/qt
document/liaisons_vues [qt] only=document,app: views/windows
document (lib_document): survey document/liaisons_vues
app [qt] (lib_app): document document/liaisons_vues
tools: document
"""


class Arbre:
    """A source tree in a temporary folder."""

    def __init__(self, files):
        self._dir = tempfile.TemporaryDirectory()
        self.root = self._dir.name
        files = dict(files)
        files.setdefault("couches.txt", COUCHES)
        for rel, text in files.items():
            path = os.path.join(self.root, rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)

    def check(self):
        r = subprocess.run([sys.executable, SCRIPT, self.root], capture_output=True, text=True)
        return r.returncode, r.stdout.splitlines()

    def close(self):
        self._dir.cleanup()


BASE = {
    "foundation/chaines.h": "#pragma once\n#include <string>\n",
    "survey/reseau.h": '#pragma once\n#include "foundation/chaines.h"\n',
    "views/vue.h": '#pragma once\n#include "survey/reseau.h"\n',
    "platform/qt/qt_ports.h": "#pragma once\n#include <QString>\n",
    "views/windows/fenetre.h": '#pragma once\n#include <QtWidgets/QWidget>\n#include "platform/qt/qt_ports.h"\n',
    "document/liaisons_vues.h": '#pragma once\n#include "views/windows/fenetre.h"\n',
    "document/composition.cpp": '#include "document/liaisons_vues.h"\n',
    "app/main.cpp": '#include <QApplication>\n#include "document/liaisons_vues.h"\n#include "survey/reseau.h"\n',
    "tools/outil.cpp": '#include "survey/reseau.h"\n',
}


class Couches(unittest.TestCase):
    def faults(self, extra):
        files = dict(BASE)
        files.update(extra)
        arbre = Arbre(files)
        try:
            return arbre.check()
        finally:
            arbre.close()

    def test_allowed_tree(self):
        code, out = self.faults({})
        self.assertEqual(out, [])
        self.assertEqual(code, 0)

    def test_faults_with_file_and_line(self):
        cases = [
            # An include against the direction.
            ("survey/cavite.cpp", '#include <vector>\n#include "app/main.h"\n', "survey/cavite.cpp:2: survey may not include"),
            # A Qt header in a model folder.
            ("survey/qt.cpp", "\n\n#include <QString>\n", "survey/qt.cpp:3: Qt header <QString> in survey"),
            # platform/qt from a model folder.
            ("views/vue2.cpp", '#include "platform/qt/qt_ports.h"\n', "views/vue2.cpp:1: views may not include"),
            # The view links outside document/ and app/.
            ("tools/vues.cpp", '#include "document/liaisons_vues.h"\n', "tools/vues.cpp:1: tools may not include"),
            # A file of no unit, and a missing file.
            ("gl/scene.cpp", "\n", "gl/scene.cpp:1: in no unit"),
            ("views/absent.cpp", '#include "survey/absent.h"\n', 'views/absent.cpp:1: "survey/absent.h" is no file'),
        ]
        extra = {"app/main.h": "#pragma once\n"}
        for rel, text, _ in cases:
            extra[rel] = text
        code, out = self.faults(extra)
        self.assertEqual(code, 1)
        for rel, _, expected in cases:
            with self.subTest(rel=rel):
                self.assertTrue(any(line.startswith(expected) for line in out), out)
        self.assertEqual(len(out), len(cases), out)

    def test_qt_does_not_leak_through_a_qt_unit(self):
        # tools uses document, which lists the view links: tools does not
        # reach the views' windows through them.
        code, out = self.faults({"tools/fenetre.cpp": '#include "views/windows/fenetre.h"\n'})
        self.assertEqual(code, 1)
        self.assertEqual(out, ['tools/fenetre.cpp:1: tools may not include "views/windows/fenetre.h" (views/windows)'])

    def test_links(self):
        cmake = (
            "add_library(lib_survey a.cpp)\n"
            "target_link_libraries(lib_survey PUBLIC lib_foundation)\n"
            "target_link_libraries(lib_survey PUBLIC lib_views  # against the layers\n"
            "                      Qt6::Widgets)\n"
        )
        # views may use foundation (through survey) but includes none of it.
        views = "target_link_libraries(lib_views PUBLIC lib_survey lib_foundation)\n"
        code, out = self.faults({"survey/CMakeLists.txt": cmake, "views/CMakeLists.txt": views})
        self.assertEqual(code, 1)
        self.assertEqual(out, ["survey/CMakeLists.txt:3: lib_survey may not link lib_views",
                               "views/CMakeLists.txt:1: lib_views links lib_foundation but includes none of its headers"])

    def test_error_rule(self):
        # Handlers of std::exception: refused in the paint path and anywhere
        # they keep the exception; allowed when they pass it on, in the files
        # of the handlers, and in the tests.
        couches = COUCHES + "drawing (lib_drawing): survey\ntests: app\n"
        extra = {
            "couches.txt": couches,
            "drawing/calque.cpp": ("void f() {\n  try {\n    g();\n  } catch (const std::exception&) {\n  }\n"
                                   "  try { g(); } catch (std::exception& e) { h(e); }\n}\n"),
            "views/vue2.cpp": "void f() {\n  try { g(); }\n  catch (std::exception const &) { return; }\n}\n",
            # Passed on after the cleanup; the runtime error; a comment.
            "survey/lecture.cpp": ("void f() {\n  try { g(); } catch (const std::exception&) {\n    if (a) { b(); }\n"
                                   "    throw;\n  }\n  try { g(); } catch (const std::runtime_error&) {}\n"
                                   "  // catch (const std::exception&) {} is refused\n}\n"),
            "app/fiche_principale.cpp": "void Protege() {\n  try { g(); } catch (const std::exception& e) { h(e); }\n}\n",
            "foundation/parallele.cpp": "void t() {\n  try { g(); } catch (const std::exception&) { e = 1; }\n}\n",
            "tests/calque_test.cpp": "void f() {\n  try { g(); } catch (const std::exception&) {}\n}\n",
        }
        code, out = self.faults(extra)
        self.assertEqual(code, 1)
        refus = [line.split(": ", 1)[0] for line in out]
        self.assertEqual(refus, ["drawing/calque.cpp:4", "drawing/calque.cpp:6", "views/vue2.cpp:3"], out)
        self.assertTrue(all("catch (std::exception&)" in line for line in out), out)


if __name__ == "__main__":
    unittest.main()
