#!/usr/bin/env python3
"""Fails (exit 1) when the game's code breaks its layering.

Layers, lowest first: core < gfx < anim < stage < fighter < fight < net < app. A file may
include headers of its own layer and of the layers below, never above (a
subfolder such as app/fight belongs to its top folder's layer). No
chain of includes may lead from a header back to itself, nor from a unit (x.h
with x.cpp) in one layer through another layer back to it. Usage:
scripts/check_layers.py [SOURCE_ROOT]
"""
import os
import re
import sys

LAYERS = ["core", "gfx", "anim", "stage", "fighter", "fight", "net", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def unit_of(path):
    return os.path.splitext(path)[0]


def read_includes(root):
    """{file: [(line number, included path)]} for every source of every layer."""
    found = {}
    for layer in LAYERS:
        folder = os.path.join(root, layer)
        if not os.path.isdir(folder):
            continue
        for dirpath, dirnames, filenames in os.walk(folder):
            dirnames.sort()
            for name in sorted(filenames):
                if not name.endswith((".h", ".cpp")):
                    continue
                full = os.path.join(dirpath, name)
                rel = os.path.relpath(full, root).replace(os.sep, "/")
                with open(full, encoding="utf-8", errors="replace") as f:
                    found[rel] = [(n, m.group(1)) for n, line in enumerate(f, 1)
                                  for m in [INCLUDE.match(line)] if m]
    return found


def upward_includes(includes):
    faults = []
    for path, lines in includes.items():
        rank = LAYERS.index(path.split("/")[0])
        for line, target in lines:
            top = target.split("/")[0]
            if top in LAYERS and LAYERS.index(top) > rank:
                faults.append("%s:%d: upward include of %s (%s is above %s)"
                              % (path, line, target, top, LAYERS[rank]))
    return faults


def cycles(graph):
    """Each strongly connected group of more than one node, as a sorted list."""
    index, low, on_stack, stack, groups = {}, {}, set(), [], []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in sorted(graph.get(v, ())):
            if w not in graph:
                continue
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    sys.setrecursionlimit(10000)
    for v in sorted(graph):
        if v not in index:
            visit(v)
    return groups


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    includes = read_includes(root)
    if not includes:
        print("check_layers: no sources under %s" % root)
        return 1
    faults = upward_includes(includes)
    headers = {}
    units = {}
    for path, lines in includes.items():
        targets = [t for _, t in lines if t in includes]
        if path.endswith(".h"):
            headers[path] = set(t for t in targets if t != path)
        u = unit_of(path)
        units.setdefault(u, set()).update(unit_of(t) for t in targets if unit_of(t) != u)
    faults += ["include loop between headers " + ", ".join(g) for g in cycles(headers)]
    faults += ["include loop across layers " + ", ".join(g) for g in cycles(units)
               if len(set(u.split("/")[0] for u in g)) > 1]
    for fault in faults:
        print("check_layers: " + fault)
    if not faults:
        print("check_layers: %d files, layers %s: no upward include, no loop"
              % (len(includes), " < ".join(LAYERS)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
