#!/usr/bin/env python3
"""Checks that the includes of the program's folders run one way.

    checkincludes.py SOURCE_ROOT

The folders form layers, app/ (start-up) over ui/ (the windows) over
platform/ (the system's services) over game/ over storage/: a file may
include from its own layer and from those below it, never from one above.
game/ and storage/ are plain C++ and include no Qt header. No two files include each
other, directly or through others. Prints every offence and exits with 1
when there is one.
"""

import os
import re
import sys

LAYERS = {"storage": 0, "game": 1, "platform": 2, "ui": 3, "app": 4}
QT_FREE_BELOW = LAYERS["platform"]  # every layer below platform/ is Qt-free
DIRECTION = " -> ".join(sorted(LAYERS, key=LAYERS.get, reverse=True))
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]', re.MULTILINE)
# QString, QtCore/QFile, and the lower-case forms qstring.h, qtcore.
QT_HEADER = re.compile(r"^(Q[A-Za-z]|qt|q[a-z0-9_]*\.h$)")


def sourceFiles(root):
    """The program's files, as paths relative to root with / between folders."""
    for layer in LAYERS:
        for folder, _, names in os.walk(os.path.join(root, layer)):
            for name in sorted(names):
                if name.endswith(SOURCE_SUFFIXES):
                    path = os.path.join(folder, name)
                    yield os.path.relpath(path, root).replace(os.sep, "/")


def layerOf(path):
    """The layer of a path relative to the root; None outside the layers."""
    first = path.split("/", 1)[0]
    return first if first in LAYERS else None


def resolve(root, including, delimiter, name):
    """The file an include names, relative to root: beside the including file
    first for a quoted name, then from the root. A name that points into a
    layer but to no file is taken as that path, so that it still counts."""
    candidates = []
    if delimiter == '"':
        candidates.append(os.path.join(os.path.dirname(including), name))
    candidates.append(name)
    for candidate in candidates:
        normal = os.path.normpath(candidate).replace(os.sep, "/")
        if not normal.startswith("../") and os.path.isfile(os.path.join(root, normal)):
            return normal
    normal = os.path.normpath(candidates[-1]).replace(os.sep, "/")
    return normal if layerOf(normal) else None


def includesOf(root, path):
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as file:
        return INCLUDE.findall(file.read())


def wrongWay(root, path, includes):
    """Offences of one file against the layers and the Qt rule."""
    layer = LAYERS[layerOf(path)]
    problems, targets = [], []
    for delimiter, name in includes:
        if layer < QT_FREE_BELOW and QT_HEADER.match(name):
            problems.append("%s includes the Qt header %s" % (path, name))
            continue
        target = resolve(root, path, delimiter, name)
        if target is None:
            continue
        targets.append(target)
        if LAYERS[layerOf(target)] > layer:
            problems.append("%s includes %s, against the direction %s" % (path, name, DIRECTION))
    return problems, targets


def cycles(graph):
    """Every include cycle, each as the list of its files, found once."""
    found, state, trail = [], {}, []

    def visit(node):
        state[node] = "open"
        trail.append(node)
        for target in graph.get(node, ()):
            if state.get(target) == "open":
                found.append(trail[trail.index(target):] + [target])
            elif target not in state:
                visit(target)
        trail.pop()
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node)
    return found


def check(root):
    """All offences in the tree at root, as sentences."""
    problems, graph = [], {}
    for path in sourceFiles(root):
        own, targets = wrongWay(root, path, includesOf(root, path))
        problems += own
        graph[path] = [t for t in targets if os.path.isfile(os.path.join(root, t))]
    problems += ["include cycle: " + " -> ".join(cycle) for cycle in cycles(graph)]
    return problems


def main(arguments):
    if len(arguments) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    problems = check(arguments[0])
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        return 1
    print("includes run one way: %s, no Qt below platform/, no cycle" % DIRECTION)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
