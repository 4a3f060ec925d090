#!/usr/bin/env bash
# Fails when a source file includes a header of a higher layer, includes a header by a relative path, or
# when modules include each other in a circle. The layers, lowest first, are the order below; a folder
# may include itself and the folders before it. A subfolder belongs to the layer of the nearest folder
# above it that is listed (scpi/parser is part of scpi, GUI/Core is a layer of its own). A module is a
# header with its source file; two modules whose files include each other, directly or round a longer
# path, form a circle. Usage: check-layers.sh [TREE] (default: the checkout this script lives in).
set -euo pipefail
tree=${1:-$(cd "$(dirname "$0")/.." && pwd)}
exec python3 - "$tree" <<'PY'
import os, re, sys

LAYERS = [
    "platform",
    "core/regbus",
    "core/system",
    "core/params",
    "core/control",
    "drivers",
    "storage",
    "sysadmin",
    "engine",
    "GUI/Core",
    "GUI",
    "GUI/Fonts",
    "scpi",
    "panel",
    "screens/output",
    "screens/menu",
    "screens/seqsim",
    "remote",
    "app",
]
RANK = {folder: n for n, folder in enumerate(LAYERS)}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')

tree = sys.argv[1]
problems = []

def layer_of(path):
    folder = os.path.dirname(path)
    while folder:
        if folder in RANK:
            return folder
        folder = os.path.dirname(folder)
    return None

headers = set()
def module_of(path):
    return os.path.splitext(path)[0]

def owner_of(path, included):
    """A source file without a header of its own (param_access_rules.cpp) is part of the module whose
    header it includes and whose name starts its own (param_access)."""
    mine = module_of(path)
    if path.endswith(".h") or mine + ".h" in headers:
        return mine
    name = os.path.basename(mine)
    best = mine
    for h in included:
        stem = module_of(h)
        if (os.path.dirname(stem) == os.path.dirname(mine) and name.startswith(os.path.basename(stem) + "_")
                and len(stem) > len(best if best != mine else "")):
            best = stem
    return best

sources = []
for top, dirs, files in os.walk(tree):
    dirs[:] = sorted(d for d in dirs if not d.startswith("."))
    rel = os.path.relpath(top, tree)
    if rel.startswith(("tests", "bench", "build", "scripts")):
        dirs[:] = []
        continue  # tests, benchmarks and build tools (the font generator) are not part of the program
    for name in sorted(files):
        if name.endswith((".cpp", ".h")):
            sources.append(name if rel == "." else f"{rel}/{name}")

headers = {p for p in sources if p.endswith(".h")}
uses = {}  # module -> the project modules its files include
for path in sources:
    layer = layer_of(path)
    if layer is None:
        problems.append(f"{os.path.dirname(path) or '.'}: holds sources but is not in a layer of scripts/check-layers.sh")
        continue
    included = []
    with open(os.path.join(tree, path), encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            target = m.group(1)
            parts = target.split("/")
            if "." in parts or ".." in parts or not os.path.exists(os.path.join(tree, target)):
                beside = os.path.normpath(os.path.join(os.path.dirname(path), target))
                if os.path.exists(os.path.join(tree, beside)) or "." in parts or ".." in parts:
                    problems.append(f"{path}:{number}: includes {target} by a relative path; "
                                    f"write it from the top of the tree")
                    target = beside
                else:
                    continue  # a system or generated header
            to = layer_of(target)
            if to is None:
                problems.append(f"{path}:{number}: includes {target}, which lies in no layer")
            elif RANK[to] > RANK[layer]:
                problems.append(f"{path}:{number}: includes {target} of the higher layer {to}")
            included.append(target)
    mine = owner_of(path, included)
    for target in included:
        if module_of(target) != mine:
            uses.setdefault(mine, set()).add(module_of(target))

# Module circles: strongly connected groups of more than one module (Tarjan's algorithm).
index, low, on_stack, stack, counter = {}, {}, set(), [], [0]
def strong(v):
    index[v] = low[v] = counter[0]
    counter[0] += 1
    stack.append(v)
    on_stack.add(v)
    for w in sorted(uses.get(v, ())):
        if w not in index:
            strong(w)
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
            problems.append("modules include each other: " + ", ".join(sorted(group)))
sys.setrecursionlimit(10000)
for v in sorted(uses):
    if v not in index:
        strong(v)

# The drawing of docs/architecture.md (its first code block): each line starts with a folder, highest layer
# first. A folder drawn must exist and lie no higher than the one drawn above it, and every folder that holds
# sources is drawn, so the map a newcomer reads first stays the order checked here.
doc = os.path.join(tree, "docs", "architecture.md")
if os.path.exists(doc):
    with open(doc, encoding="utf-8") as f:
        text = f.read()
    block = text.split("```")[1] if text.count("```") >= 2 else ""
    drawn, above = set(), None
    for line in block.splitlines():
        m = re.match(r"\s*([A-Za-z_][\w/]*)/\s", line)
        if not m:
            continue
        folder = m.group(1)
        drawn.add(folder)
        layer = layer_of(folder + "/x")
        if not os.path.isdir(os.path.join(tree, folder)):
            problems.append(f"docs/architecture.md draws {folder}/, which is not in the tree")
        elif layer is None:
            problems.append(f"docs/architecture.md draws {folder}/, which lies in no layer")
        elif above is not None and RANK[layer] > RANK[above[1]]:
            problems.append(f"docs/architecture.md draws {folder}/ below {above[0]}/, a lower layer")
        if layer is not None:
            above = (folder, layer)
    for folder in sorted({os.path.dirname(p) for p in sources} - drawn):
        if folder and layer_of(folder + "/x") is not None:
            problems.append(f"{folder}: holds sources but is not drawn in docs/architecture.md")

for p in problems:
    print(p)
if problems:
    print(f"{len(problems)} layering problem(s)")
    sys.exit(1)
PY
