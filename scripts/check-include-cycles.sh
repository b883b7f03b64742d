#!/usr/bin/env bash
# Checks the include graph of the source folders:
#
#   scripts/check-include-cycles.sh [SRC]     (default: the repository's src/)
#
# Every folder src/core/<folder>/ and src/app/<folder>/ is a node, and so is
# the top level of src/app (the assembly, a layer above the app folders). A
# file in folder A whose `#include "..."` names a header held by folder B
# makes the edge A -> B. Headers are found as the build finds them: beside the
# including file, or by their bare names in any folder; generated headers
# count for the folder of their source (ProgramVersion.h from
# ProgramVersion.h.in, ui_Foo.h from Foo.ui). Includes of headers outside src
# (Qt, the standard library) are ignored.
#
# Fails (exit 1) when the folders' graph has a cycle, printing each cycle and
# then, for each of its edges, the includes that make it; or when a file under
# src/core includes a header from src/app; or when a bare-name include could
# mean headers in two folders. Exit 0 and one line when none is so.
# Needs python3 (scripts/install-deps.sh installs it).
set -euo pipefail
SRC="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"
[ -d "$SRC/core" ] && [ -d "$SRC/app" ] || { echo "check-include-cycles: no core/ and app/ under $SRC" >&2; exit 2; }
command -v python3 >/dev/null || { echo "check-include-cycles: python3 is missing (scripts/install-deps.sh)" >&2; exit 2; }
exec python3 - "$SRC" <<'PYTHON'
import os
import re
import sys
from collections import defaultdict

src = os.path.abspath(sys.argv[1])
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_EXTS = ('.h', '.hpp', '.cpp', '.cc', '.cxx', '.in')


def node_of(folder):
    """The graph node of a folder under src, or None outside core/ and app/."""
    rel = os.path.relpath(folder, src).split(os.sep)
    if rel[0] == 'app':
        return 'app/' + rel[1] if len(rel) > 1 else 'app (top level)'
    if rel[0] == 'core' and len(rel) > 1:
        return 'core/' + rel[1]
    return None


# Every file of the scanned folders, and the folders that hold each header
# name (generated headers under the name the build gives them).
files = []
holders = defaultdict(set)
for layer in ('core', 'app'):
    for root, dirs, names in os.walk(os.path.join(src, layer)):
        dirs.sort()
        node = node_of(root)
        for name in sorted(names):
            path = os.path.join(root, name)
            if node is not None and name.endswith(SOURCE_EXTS):
                files.append((node, path))
            if node is None:
                continue
            if name.endswith('.h.in'):
                holders[name[:-3]].add(node)
            elif name.endswith('.ui'):
                holders['ui_' + name[:-3] + '.h'].add(node)
            elif name.endswith(('.h', '.hpp')):
                holders[name].add(node)

edges = defaultdict(list)      # (from, to) -> ["file:line includes header"]
upward = []                    # core files that include app headers
ambiguous = []
for node, path in files:
    here = os.path.dirname(path)
    with open(path, encoding='utf-8', errors='replace') as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            header = m.group(1)
            beside = os.path.normpath(os.path.join(here, header))
            if os.path.isfile(beside):
                targets = {node_of(os.path.dirname(beside))} - {None}
            else:
                targets = holders.get(os.path.basename(header), set())
            if len(targets) > 1:
                ambiguous.append('%s:%d: "%s" is held by %s' % (os.path.relpath(path, src), number, header,
                                                                ', '.join(sorted(targets))))
            where = '%s:%d includes "%s"' % (os.path.relpath(path, src), number, header)
            for target in targets:
                if node.startswith('core/') and target.startswith('app'):
                    upward.append('%s (%s)' % (where, target))
                if target != node:
                    edges[(node, target)].append(where)

graph = defaultdict(set)
for a, b in edges:
    graph[a].add(b)
nodes = sorted({node for node, _ in files} | set(graph))


def components():
    """Strongly connected components with more than one folder (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(graph[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    for v in nodes:
        if v not in index:
            visit(v)
    return found


def cycles(component, limit=100):
    """The elementary cycles inside one component, each starting at its
    smallest folder, shortest first."""
    members = set(component)
    result = []
    for start in component:
        allowed = {v for v in members if v >= start}

        def walk(path):
            if len(result) >= limit:
                return
            for w in sorted(graph[path[-1]] & allowed):
                if w == start:
                    result.append(list(path))
                elif w not in path:
                    walk(path + [w])

        walk([start])
    return sorted(result, key=lambda c: (len(c), c))


status = 0
if upward:
    status = 1
    print('src/core includes headers from src/app:')
    for line in upward:
        print('  ' + line)
if ambiguous:
    status = 1
    print('Headers of the same name in more than one folder (a bare-name include is ambiguous):')
    for line in ambiguous:
        print('  ' + line)
for component in components():
    status = 1
    found = cycles(component)
    print('Include cycle among %s:' % ', '.join(component))
    for cycle in found:
        print('  ' + ' -> '.join(cycle + [cycle[0]]))
    print('  made by these includes:')
    used = sorted({(a, b) for cycle in found for a, b in zip(cycle, cycle[1:] + [cycle[0]])})
    for a, b in used:
        print('    %s -> %s:' % (a, b))
        for where in edges[(a, b)]:
            print('      ' + where)
if status == 0:
    print('include graph acyclic: %d folders, %d edges, no include from src/core into src/app'
          % (len(nodes), len(edges)))
sys.exit(status)
PYTHON
