#!/usr/bin/env python3
"""Holds the source tree to its layers.

Every module and executable is declared in its folder's CMakeLists.txt with
zeva_add_module / zeva_add_executable; its DEPENDS list names the modules it
may include. This script fails on
  - an include of another module's header that DEPENDS does not allow,
  - a production file that includes a test header,
  - a Qt include outside ui/qt, app, the Qt tests and benchmarks and the
    screenshot tool,
  - a cycle among the modules,
  - a docs/architecture.md whose generated layer table differs from the tree.

    scripts/check_layers.py            check (exit status 1 on a finding)
    scripts/check_layers.py --write    rewrite the table in docs/architecture.md
"""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DOC = ROOT / "docs" / "architecture.md"
BEGIN, END = "<!-- layers: begin -->", "<!-- layers: end -->"
SOURCE_SUFFIXES = {".h", ".cpp", ".c"}
QT_FOLDERS = ("ui/qt/", "app/", "tests/ui/qt/", "scripts/screenshots/")
SKIPPED_FOLDERS = ("build", ".git", "fuzz/corpus")

DECLARATION = re.compile(r"zeva_add_(module|executable)\(\s*([\w-]+)(.*?)\)\s*$",
                         re.S | re.M)
INCLUDE = re.compile(r'^\s*#\s*include\s+([<"])([^>"]+)[>"]', re.M)


class Unit:
    """A module or executable: its folder, name and allowed modules."""

    def __init__(self, kind, name, folder, depends):
        self.kind, self.name, self.folder, self.depends = kind, name, folder, depends


def declared_units():
    units = []
    for cmake in sorted(ROOT.rglob("CMakeLists.txt")):
        folder = cmake.parent.relative_to(ROOT).as_posix()
        if folder.startswith(SKIPPED_FOLDERS) or folder.startswith("tests"):
            continue
        for kind, name, body in DECLARATION.findall(cmake.read_text()):
            depends = []
            if "DEPENDS" in body:
                tail = body.split("DEPENDS", 1)[1].split("LIBRARIES", 1)[0]
                depends = re.findall(r"zeva::(\w+)", tail)
            units.append(Unit(kind, name, folder, depends))
    return units


def module_folders(units):
    """Folder -> module name, for the folders that hold a module."""
    return {u.folder: u.name for u in units if u.kind == "module"}


def owner(path, folders):
    """The module folder a path of the tree belongs to (the longest prefix)."""
    best = None
    for folder in folders:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def source_files():
    for path in sorted(ROOT.rglob("*")):
        relative = path.relative_to(ROOT).as_posix()
        if path.suffix in SOURCE_SUFFIXES and not relative.startswith(SKIPPED_FOLDERS):
            yield relative, path.read_text(errors="replace")


def findings(units):
    folders = module_folders(units)
    allowed = {}  # folder -> modules its files may include
    for u in units:
        allowed.setdefault(u.folder, set()).update(u.depends)
    problems = []
    for relative, text in source_files():
        folder = str(Path(relative).parent.as_posix())
        production = folder in allowed
        for bracket, target in INCLUDE.findall(text):
            if bracket == "<":
                if re.match(r"Q[A-Za-z]", target) and not relative.startswith(QT_FOLDERS) \
                        and not relative.endswith("_qt_bench.cpp"):
                    problems.append(f"{relative}: Qt include <{target}> outside ui/qt and app")
                continue
            if not production:
                continue
            if target.startswith("tests/"):
                problems.append(f"{relative}: production code includes the test header {target}")
                continue
            home = owner(target, folders)
            if home is None or home == folder:
                continue
            if folders[home] not in allowed[folder]:
                problems.append(f"{relative}: includes {target}, but module "
                                f"{folders[home]} is not in the DEPENDS of {folder}")
    return problems


def cycle(units):
    graph = {u.name: [d for d in u.depends] for u in units if u.kind == "module"}
    state = {}

    def visit(name, trail):
        if state.get(name) == 1:
            return trail[trail.index(name):] + [name]
        if state.get(name) == 2 or name not in graph:
            return None
        state[name] = 1
        for d in graph[name]:
            found = visit(d, trail + [name])
            if found:
                return found
        state[name] = 2
        return None

    for name in graph:
        found = visit(name, [])
        if found:
            return found
    return None


def layer_table(units):
    """The generated part of docs/architecture.md: units from the top down."""
    modules = {u.name: u for u in units if u.kind == "module"}
    depth = {}

    def level(name):
        if name not in depth:
            below = [level(d) for d in modules[name].depends if d in modules]
            depth[name] = 1 + max(below, default=-1)
        return depth[name]

    for name in modules:
        level(name)
    executables = [u for u in units if u.kind == "executable"]
    picture = ["```", "top  " + "   ".join(f"{u.name} ({u.folder}/)" for u in
                                          sorted(executables, key=lambda u: u.name))]
    for layer in range(max(depth.values()), -1, -1):
        names = sorted(n for n in modules if depth[n] == layer)
        picture.append(f"{layer:<5}" + "   ".join(modules[n].folder + "/" for n in names))
    picture += ["```", ""]
    rows = picture + ["| layer | unit | folder | may include |", "|---|---|---|---|"]
    for u in sorted(executables, key=lambda u: u.name):
        rows.append(f"| top | `{u.name}` (executable) | `{u.folder}/` | "
                    f"{', '.join(sorted(u.depends))} |")
    for name in sorted(modules, key=lambda n: (-depth[n], n)):
        u = modules[name]
        rows.append(f"| {depth[name]} | `zeva_{name}` | `{u.folder}/` | "
                    f"{', '.join(sorted(u.depends)) or '(nothing)'} |")
    return "\n".join(rows)


def main():
    units = declared_units()
    table = f"{BEGIN}\n{layer_table(units)}\n{END}"
    doc = DOC.read_text()
    generated = re.sub(re.escape(BEGIN) + ".*?" + re.escape(END), lambda _: table, doc,
                       flags=re.S)
    if "--write" in sys.argv[1:]:
        DOC.write_text(generated)
        return 0
    problems = findings(units)
    found = cycle(units)
    if found:
        problems.append("modules depend on each other in a cycle: " + " -> ".join(found))
    if BEGIN not in doc or generated != doc:
        problems.append("docs/architecture.md: the layer table differs from the tree "
                        "(scripts/check_layers.py --write)")
    for p in problems:
        print(p, file=sys.stderr)
    if not problems:
        print(f"layers: {len(units)} units, every include within its DEPENDS")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
