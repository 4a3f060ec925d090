#!/usr/bin/env bash
# Fails when a source file includes a header of a higher layer, or when headers include each other in a
# circle. The layers, lowest first, are the order below; a folder may include itself and the folders
# before it. Usage: check-layers.sh [TREE] (default: the checkout this script lives in).
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
    "src/dev",
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
headers = {}  # header path -> the project headers it includes

def layer_of(path):
    folder = os.path.dirname(path)
    return folder if folder in RANK else None

for folder in LAYERS:
    top = os.path.join(tree, folder)
    if not os.path.isdir(top):
        continue
    for name in sorted(os.listdir(top)):
        if not name.endswith((".cpp", ".h")):
            continue
        path = f"{folder}/{name}"
        includes = []
        with open(os.path.join(top, name), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = m.group(1)
                if not os.path.exists(os.path.join(tree, target)):
                    continue  # a system or generated header
                includes.append(target)
                to = layer_of(target)
                if to is None:
                    problems.append(f"{path}:{number}: includes {target}, which lies in no layer")
                elif RANK[to] > RANK[folder]:
                    problems.append(f"{path}:{number}: includes {target} of the higher layer {to}")
        if name.endswith(".h"):
            headers[path] = includes

# Header circles: a header that reaches itself through the headers it includes.
state = {}
stack = []
def visit(h):
    state[h] = 1
    stack.append(h)
    for nxt in headers.get(h, []):
        if state.get(nxt) == 1:
            problems.append("include circle: " + " -> ".join(stack[stack.index(nxt):] + [nxt]))
        elif nxt in headers and nxt not in state:
            visit(nxt)
    stack.pop()
    state[h] = 2
for h in sorted(headers):
    if h not in state:
        visit(h)

# Build tools under scripts/ (the font generator) are not part of the program.
for folder in sorted({os.path.relpath(r, tree) for r, _, files in os.walk(tree)
                      if any(f.endswith((".cpp", ".h")) for f in files)}):
    if folder.startswith(("tests", "build", ".", "scripts")) or folder in RANK or folder == ".":
        continue
    problems.append(f"{folder}: holds sources but is not a layer of scripts/check-layers.sh")

for p in problems:
    print(p)
if problems:
    print(f"{len(problems)} layering problem(s)")
    sys.exit(1)
PY
