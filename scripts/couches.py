#!/usr/bin/python3
"""Checks the source tree against its layers (couches.txt at the root).

    scripts/couches.py [ROOT]

Every #include of every C++ file of ROOT, and every target_link_libraries
line of the CMakeLists.txt files, is checked against the graph of
ROOT/couches.txt (its comments say how to read it); a library links only
libraries it may use and whose headers its files include.  The error rule is
checked on the same files: a handler of std::exception, which would also take
a programming error for a failure of the data, either passes the exception on
(throw;) or sits in one of the files of HANDLERS.  Each fault is printed as
"file:line: what"; the exit code is 1 when there is one, 0 otherwise.
"""

import os
import re
import sys

SOURCES = (".h", ".hpp", ".cpp", ".cc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Q[A-Z][A-Za-z0-9]*|Qt[A-Za-z0-9]*/.*|Qt[A-Za-z0-9]*)$")
UNIT_LINE = re.compile(r"^(?P<name>[A-Za-z0-9_./-]+)(?P<attrs>[^:(]*)(?:\((?P<libs>[^)]*)\))?\s*:(?P<deps>.*)$")
LINK = re.compile(r"target_link_libraries\s*\(([^)]*)\)", re.S)
CATCH_EXCEPTION = re.compile(r"\bcatch\s*\(\s*(?:const\s+)?std::exception\s*(?:const\s*)?&")
RETHROW = re.compile(r"\bthrow\s*;")

# The files (by name, wherever they sit) whose handlers of std::exception are
# the boundary where any exception ends, and why.
HANDLERS = {
    # Protege: the window's command handler, which reports a runtime error
    # with its message and anything else as an internal error.
    "fiche_principale.cpp": "the window's command handler",
    # The shot table's model: Qt asks it for a cell while it paints; the
    # cell's failure becomes the row's message, reported once.
    "modele_visees.cpp": "the shot table's cells, asked for by Qt",
    # The worker pool: a slice's exception goes to the calling thread.
    "parallele.cpp": "the worker pool",
    # The command-line tool's main: a programming error is printed as an
    # internal error and the tool exits with 1.
    "cavtool.cpp": "the command-line tool's handler",
}


class Couches:
    def __init__(self, path):
        self.deps = {}
        self.qt = set()
        self.only = {}
        self.libs = {}  # library -> units it is built from
        self.faults = []
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                line = line.split("#", 1)[0].strip()
                if not line:
                    continue
                m = UNIT_LINE.match(line)
                if not m:
                    self.faults.append(f"{path}:{number}: unreadable line")
                    continue
                name = m.group("name").rstrip("/")
                if name in self.deps:
                    self.faults.append(f"{path}:{number}: {name} given twice")
                self.deps[name] = m.group("deps").split()
                for attr in m.group("attrs").split():
                    if attr == "[qt]":
                        self.qt.add(name)
                    elif attr.startswith("only="):
                        self.only[name] = set(attr[len("only="):].split(","))
                    else:
                        self.faults.append(f"{path}:{number}: unknown attribute {attr}")
                for lib in (m.group("libs") or "").replace(",", " ").split():
                    self.libs.setdefault(lib, set()).add(name)
                for d in self.deps[name]:
                    if d not in self.deps:
                        self.faults.append(f"{path}:{number}: {name} uses {d}, not given above it")
        self._reach = {}

    def unit_of(self, rel):
        """The longest unit that claims a path relative to the root; None."""
        stem = os.path.splitext(rel)[0]
        best = None
        for u in self.deps:
            if stem == u or rel.startswith(u + "/"):
                if best is None or len(u) > len(best):
                    best = u
        return best

    def reach(self, u):
        """The units u may include, itself included."""
        if u not in self._reach:
            r = {u}
            for v in self.deps[u]:
                if v in self.qt and u not in self.qt:
                    r.add(v)  # listed itself: reached, but not gone past
                else:
                    r |= {w for w in self.reach(v) if u in self.qt or w not in self.qt}
            self._reach[u] = r
        return self._reach[u]

    def may_include(self, u, v):
        if v == u:
            return True
        if v in self.only and not any(u == a or u.startswith(a + "/") for a in self.only[v]):
            return False
        return v in self.reach(u)


def source_files(root):
    for dirpath, dirnames, filenames in os.walk(root):
        rel_dir = os.path.relpath(dirpath, root)
        dirnames[:] = sorted(
            d for d in dirnames
            if not d.startswith(".") and not (rel_dir == "." and d.startswith("build")))
        for name in sorted(filenames):
            if name.endswith(SOURCES):
                yield os.path.normpath(os.path.join(rel_dir, name))


def check_includes(root, couches, used):
    """Also fills used: unit -> the units its files include."""
    faults = []
    for rel in source_files(root):
        unit = couches.unit_of(rel)
        if unit is None:
            faults.append(f"{rel}:1: in no unit of couches.txt")
            continue
        with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                kind, name = m.groups()
                where = f"{rel}:{number}"
                if kind == "<" and QT_HEADER.match(name):
                    if unit not in couches.qt:
                        faults.append(f"{where}: Qt header <{name}> in {unit}, which holds no Qt code")
                    continue
                target = None
                if os.path.isfile(os.path.join(root, name)):
                    target = os.path.normpath(name)
                elif kind == '"' and os.path.isfile(os.path.join(root, os.path.dirname(rel), name)):
                    target = os.path.normpath(os.path.join(os.path.dirname(rel), name))
                elif kind == '"':
                    faults.append(f"{where}: \"{name}\" is no file of the tree")
                    continue
                else:
                    continue  # a system or third-party header
                other = couches.unit_of(target)
                if other is not None:
                    used.setdefault(unit, set()).add(other)
                if other is None:
                    faults.append(f"{where}: \"{name}\" is in no unit of couches.txt")
                elif not couches.may_include(unit, other):
                    faults.append(f"{where}: {unit} may not include \"{name}\" ({other})")
    return faults


def check_links(root, couches, used):
    """A library links only libraries it may use, and only those its files
    include."""
    faults = []
    for dirpath, dirnames, filenames in os.walk(root):
        rel_dir = os.path.relpath(dirpath, root)
        dirnames[:] = sorted(
            d for d in dirnames
            if not d.startswith(".") and not (rel_dir == "." and d.startswith("build")))
        if "CMakeLists.txt" not in filenames:
            continue
        rel = os.path.normpath(os.path.join(rel_dir, "CMakeLists.txt"))
        with open(os.path.join(root, rel), encoding="utf-8") as f:
            text = f.read()
        for m in LINK.finditer(text):
            words = [w for w in re.sub(r"#[^\n]*", "", m.group(1)).split()]
            if not words or words[0] not in couches.libs:
                continue
            number = text.count("\n", 0, m.start()) + 1
            units = couches.libs[words[0]]
            for lib in words[1:]:
                if lib not in couches.libs or lib == words[0]:
                    continue
                if not any(couches.may_include(u, v) for u in units for v in couches.libs[lib]):
                    faults.append(f"{rel}:{number}: {words[0]} may not link {lib}")
                elif not any(v in used.get(u, ()) for u in units for v in couches.libs[lib]):
                    faults.append(f"{rel}:{number}: {words[0]} links {lib} but includes none of its headers")
    return faults


def handler_body(text, start):
    """The block of the handler whose catch begins at start (its braces
    included); the rest of the text when it is not closed."""
    begin = text.find("{", start)
    if begin < 0:
        return ""
    depth = 0
    for i in range(begin, len(text)):
        if text[i] == "{":
            depth += 1
        elif text[i] == "}":
            depth -= 1
            if depth == 0:
                return text[begin:i + 1]
    return text[begin:]


def check_handlers(root):
    """A handler of std::exception passes it on, or sits in a file of
    HANDLERS; the tests are free to catch what they check."""
    faults = []
    for rel in source_files(root):
        if rel.startswith("tests" + os.sep) or os.path.basename(rel) in HANDLERS:
            continue
        with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
            lines = f.read().split("\n")
        # Comments out, lines kept, so that a handler named in a comment is
        # no handler.
        text = "\n".join(re.sub(r"//.*", "", line) for line in lines)
        for m in CATCH_EXCEPTION.finditer(text):
            if RETHROW.search(handler_body(text, m.end())):
                continue
            number = text.count("\n", 0, m.start()) + 1
            faults.append(f"{rel}:{number}: catch (std::exception&) outside the handlers: catch "
                          "std::runtime_error or pass it on (throw;)")
    return faults


def check(root):
    path = os.path.join(root, "couches.txt")
    couches = Couches(path)
    used = {}
    faults = couches.faults + check_includes(root, couches, used)
    return faults + check_links(root, couches, used) + check_handlers(root)


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    faults = check(os.path.abspath(root))
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s), link(s) or handler(s) against the layers and the error rule",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
