#!/usr/bin/env python3
"""The folders' include graph points one way: core -> acquisition, analysis, model, export ->
session -> views -> app. Exits 1, naming each offending include, when a file includes from a layer
above its own, or when a file below views/ includes a Qt Widgets header or QCustomPlot."""
import pathlib
import re
import sys

RANK = {"core": 0, "acquisition": 1, "analysis": 1, "model": 1, "export": 1,
        "session": 2, "views": 3, "app": 4}
WIDGETS = re.compile(r"<(QtWidgets/.*|QtPrintSupport/.*|qcustomplot\.h|Q(Widget|Dialog|Label|Slider|"
                     r"PushButton|CheckBox|LineEdit|MainWindow|Painter|Image|Pixmap|Frame|GroupBox|"
                     r"SpinBox|DoubleSpinBox|Menu|MenuBar|Action|TabWidget|Application|Printer)\b.*)>")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def cycles(edges):
    """The folders on a cycle of the include graph among the same-layer folders, if any."""
    state = {}

    def visit(node, path):
        state[node] = 1
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == 1:
                return path[path.index(nxt):] + [nxt] if nxt in path else [node, nxt]
            if nxt not in state:
                loop = visit(nxt, path + [nxt])
                if loop:
                    return loop
        state[node] = 2
        return None

    for start in sorted(edges):
        if start not in state:
            loop = visit(start, [start])
            if loop:
                return loop
    return None


def faults(root):
    found = []
    edges = {}
    for folder, rank in RANK.items():
        for path in sorted((root / folder).glob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for kind, name in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
                where = f"{path.relative_to(root)}: {name}"
                if kind == '"':
                    top = name.split("/")[0]
                    if top in RANK and top != folder:
                        edges.setdefault(folder, set()).add(top)
                    if top == "virtualcard" and folder != "tests":
                        found.append(where + " (the simulated card is no part of the product)")
                    elif top in RANK and RANK[top] > rank:
                        found.append(where + f" ({folder}/ may not include from {top}/)")
                    elif top in RANK and RANK[top] == rank and top != folder and rank != 1:
                        found.append(where)
                elif rank < RANK["views"] and WIDGETS.match("<" + name + ">"):
                    found.append(where + " (a widget header below views/)")
    loop = cycles(edges)
    if loop:
        found.append("the folders include one another in a cycle: " + " -> ".join(loop))
    return found


def self_test():
    """The check finds what it is meant to find."""
    import tempfile
    with tempfile.TemporaryDirectory() as tmp:
        root = pathlib.Path(tmp)
        for folder in RANK:
            (root / folder).mkdir()
        (root / "session" / "A.h").write_text('#include "views/B.h"\n')
        (root / "core" / "C.h").write_text("#include <QWidget>\n")
        (root / "model" / "D.cpp").write_text('#include "export/E.h"\n')
        (root / "export" / "E.h").write_text('#include "model/D.h"\n')
        (root / "app" / "F.cpp").write_text('#include "virtualcard/Pendulum.h"\n#include <QWidget>\n')
        got = faults(root)
        expected = ["session/A.h: views/B.h", "core/C.h: QWidget", "cycle", "app/F.cpp: virtualcard"]
        missing = [e for e in expected if not any(e in g for g in got)]
        if missing or len(got) != len(expected):
            print("the check missed", missing, "or found more than expected:", got)
            return 1
    return 0


if __name__ == "__main__":
    if sys.argv[1] == "--self-test":
        sys.exit(self_test())
    problems = faults(pathlib.Path(sys.argv[1]))
    for p in problems:
        print(p)
    sys.exit(1 if problems else 0)
