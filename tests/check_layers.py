#!/usr/bin/python3
"""Layering check. Usage: check_layers.py SOURCE_DIR CORE_LIST

CORE_LIST is written by CMake: a line "order T1 T2 ..." naming the Qt-free core targets lowest
first, a line "links T L1 L2 ..." per core target and a line "file T PATH" per core file.
The check fails when
- a core file (or a header it includes) reaches Qt or platform/;
- a core file includes a project header that belongs to no core target (a window file), or one of
  a core target above its own;
- a core target links a target that is not below it, or the core targets' links form a cycle;
- a core target includes headers of a core target it does not link (directly or through others);
- a file outside app/ includes app/.
A header belongs to the target of the core source of the same name, else to the target that lists it."""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
FORBIDDEN_IN_CORE = re.compile(r'^(Q[A-Za-z]*|qt\w*/.*|Qt\w*/.*|platform/.*)$')
SOURCE_SUFFIXES = (".cpp", ".cc", ".c")


def includes(path):
    return INCLUDE.findall(path.read_text(errors="replace"))


def read_core_list(path):
    order, links, owner = [], {}, {}
    for line in pathlib.Path(path).read_text().splitlines():
        words = line.split()
        if not words:
            continue
        if words[0] == "order":
            order = words[1:]
        elif words[0] == "links":
            links[words[1]] = words[2:]
        elif words[0] == "file":
            owner[pathlib.Path(words[2]).resolve()] = words[1]
    # A header goes with the core source of the same name.
    for f, target in list(owner.items()):
        if f.suffix in SOURCE_SUFFIXES:
            header = f.with_suffix(".h")
            if header.exists():
                owner.setdefault(header, target)
    return order, links, owner


def link_cycle(links):
    """One cycle among the targets' links as a list of targets, or None."""
    state, stack = {}, []

    def visit(t):
        state[t] = "open"
        stack.append(t)
        for n in links.get(t, []):
            if state.get(n) == "open":
                return stack[stack.index(n):] + [n]
            if n not in state:
                found = visit(n)
                if found:
                    return found
        stack.pop()
        state[t] = "done"
        return None

    for t in links:
        if t not in state:
            found = visit(t)
            if found:
                return found
    return None


def reachable(links, target):
    seen, todo = set(), [target]
    while todo:
        t = todo.pop()
        for n in links.get(t, []):
            if n not in seen:
                seen.add(n)
                todo.append(n)
    return seen


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    order, links, owner = read_core_list(sys.argv[2])
    rank = {t: i for i, t in enumerate(order)}
    faults = []

    def rel(f):
        return f.relative_to(root) if f.is_relative_to(root) else f

    for target in links:
        if target not in rank:
            faults.append(f"core target {target} is missing from the declared order")
    for target in order:
        if target not in links:
            faults.append(f"declared core target {target} is not defined")
    for target, below in links.items():
        for n in below:
            if n not in rank:
                faults.append(f"core target {target} links {n}, which is not a core target")
            elif target in rank and rank[n] >= rank[target]:
                faults.append(f"core target {target} links {n}, which is not below it")
    cycle = link_cycle(links)
    if cycle:
        faults.append("core targets link in a cycle: " + " -> ".join(cycle))

    # Every core file and every project header it reaches; whatever is reached must be core too.
    todo = list(owner)
    seen = set()
    while todo:
        f = todo.pop()
        if f in seen:
            continue
        seen.add(f)
        if not f.exists():
            faults.append(f"{rel(f)}: listed as a core file but missing")
            continue
        target = owner[f]
        usable = reachable(links, target)
        for kind, name in includes(f):
            if FORBIDDEN_IN_CORE.match(name):
                faults.append(f"{rel(f)} ({target}): includes {name}")
                continue
            if kind != '"':
                continue
            header = (root / name).resolve()
            if not header.exists():
                continue
            other = owner.get(header)
            if other is None:
                faults.append(f"{rel(f)} ({target}): includes {name}, which belongs to no core target")
            elif other != target and rank.get(other, len(order)) >= rank.get(target, -1):
                faults.append(f"{rel(f)} ({target}): includes {name} of {other}, which is not below it")
            elif other != target and other not in usable:
                faults.append(f"{rel(f)} ({target}): includes {name} of {other} but does not link it")
            else:
                todo.append(header)

    below_app = ["data", "formula", "charts", "statistics", "fitting", "documents", "platform", "widgets"]
    for folder in below_app:
        for f in sorted((root / folder).glob("*.[ch]*")):
            for _, name in includes(f):
                if name.startswith("app/"):
                    faults.append(f"{rel(f)}: includes {name}")
    for fault in faults:
        print("layering:", fault)
    if not owner:
        print("layering: no core sources listed")
        return 1
    print(f"layering: {len(seen)} core files of {len(order)} core targets "
          f"({' < '.join(order)}) checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
