#!/usr/bin/env python3
"""Holds the #include lines of the tree to the layer table of the README.

The table in the README's "Layout" section is the one statement of which
layer may use which. This check reads it and fails when

  - a file includes a file of a layer that its own layer may not use
    (a layer may use the layers it lists, and what those may use);
  - a file of the tree belongs to no layer;
  - files include each other in a circle, counting a header and its
    source file (x.h and x.cpp) as one;
  - a file of the conversion core includes a header that is not the
    standard library's.

usage: check-layers.py [ROOT]
"""
import fnmatch
import os
import re
import subprocess
import sys

SOURCE_SUFFIXES = (".h", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
# The conversion core: the standard library alone.
CORE_LAYERS = {"memory", "geometry", "records", "parts", "objects", "document", "conversion"}
STANDARD_HEADERS = set("""
algorithm any array atomic bit bitset cassert cctype cerrno cfloat charconv chrono cinttypes
climits clocale cmath compare concepts cstddef cstdint cstdio cstdlib cstring ctime cwchar
deque exception execution filesystem format forward_list fstream functional initializer_list
iomanip ios iosfwd iostream istream iterator limits list locale map memory memory_resource
mutex new numbers numeric optional ostream queue random ranges ratio regex set source_location
span sstream stack stdexcept streambuf string string_view system_error thread tuple
type_traits typeinfo unordered_map unordered_set utility variant vector version
""".split())


def read_table(readme):
    """The rows of the layer table: (layer, patterns, allowed layers)."""
    text = open(readme, encoding="utf-8").read()
    section = text.split("## Layout", 1)[1].split("\n## ", 1)[0]
    rows = []
    for line in section.splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) != 4 or not line.startswith("|") or set(cells[0]) <= set("-: "):
            continue
        layer, where, uses = cells[0], cells[1], cells[2]
        if layer == "layer":
            continue
        patterns = re.findall(r"`([^`]+)`", where)
        allowed = {u.strip() for u in uses.split(",") if u.strip() and u.strip() != "-"}
        rows.append((layer, patterns, allowed))
    if not rows:
        sys.exit("check-layers: no layer table in the README's Layout section")
    return rows


def layer_of(path, rows):
    """Patterns naming files beat patterns naming a folder ("dir/": its own
    files, not those of its subfolders; "dir/**": everything below)."""
    for specific in (True, False):
        for layer, patterns, _ in rows:
            for pattern in patterns:
                if pattern.endswith("/**"):
                    if not specific and path.startswith(pattern[:-2]):
                        return layer
                elif pattern.endswith("/"):
                    if not specific and os.path.dirname(path) + "/" == pattern:
                        return layer
                elif specific and fnmatch.fnmatchcase(path, pattern):
                    return layer
    return None


def closure(rows):
    direct = {layer: allowed for layer, _, allowed in rows}
    unknown = {u for allowed in direct.values() for u in allowed if u not in direct}
    if unknown:
        sys.exit("check-layers: the table names unknown layers: " + ", ".join(sorted(unknown)))
    reach = {}
    for layer in direct:
        seen, todo = {layer}, [layer]
        while todo:
            for lower in direct[todo.pop()]:
                if lower not in seen:
                    seen.add(lower)
                    todo.append(lower)
        reach[layer] = seen
    return reach


def circles(edges):
    """Strongly connected groups of more than one unit (Tarjan)."""
    index, low, stack, on_stack, groups = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(edges.get(v, ())):
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
    for v in sorted(edges):
        if v not in index:
            visit(v)
    return groups


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else ".")
    os.chdir(root)
    rows = read_table("README.md")
    reach = closure(rows)
    files = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard"],
                           capture_output=True, text=True, check=True).stdout.split()
    files = [f for f in files if f.endswith(SOURCE_SUFFIXES) and os.path.exists(f)]
    problems = []
    edges = {}
    for path in files:
        layer = layer_of(path, rows)
        if layer is None:
            problems.append(f"{path}: in no layer of the README's table")
            continue
        unit = os.path.splitext(path)[0]
        edges.setdefault(unit, set())
        text = open(path, encoding="utf-8", errors="replace").read()
        for kind, target in INCLUDE.findall(text):
            if kind == "<":
                if layer in CORE_LAYERS and target not in STANDARD_HEADERS:
                    problems.append(f"{path}: <{target}> is not the standard library's "
                                    f"(layer {layer} uses the standard library alone)")
                continue
            if not os.path.exists(target):
                continue  # a generated file of the build tree
            target_layer = layer_of(target, rows)
            if target_layer is None:
                continue  # reported as a file of no layer
            if target_layer not in reach[layer]:
                problems.append(f"{path}: includes {target}: layer {layer} may not use "
                                f"layer {target_layer}")
            target_unit = os.path.splitext(target)[0]
            if target_unit != unit:
                edges[unit].add(target_unit)
    for group in circles(edges):
        problems.append("files include each other in a circle: " + " -> ".join(group))
    for problem in problems:
        print(problem)
    if problems:
        print(f"check-layers: {len(problems)} problem(s); the table is in README.md, Layout")
        return 1
    print(f"check-layers: {len(files)} files in {len(rows)} layers, every include as the "
          "README's table allows, no circle")
    return 0


if __name__ == "__main__":
    sys.exit(main())
