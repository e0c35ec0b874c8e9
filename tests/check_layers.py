#!/usr/bin/python3
"""Layering check: the Qt-free cores include neither Qt nor platform/ (directly or through
their own headers), and nothing below app/ includes app/. Usage: check_layers.py SOURCE_DIR CORE_LIST"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
FORBIDDEN_IN_CORE = re.compile(r'^(Q[A-Za-z]*|qt\w*/.*|Qt\w*/.*|platform/.*)$')


def includes(path):
    return INCLUDE.findall(path.read_text(errors="replace"))


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    cores = [pathlib.Path(line) for line in pathlib.Path(sys.argv[2]).read_text().split() if line]
    faults = []
    # Each core file and every project header it reaches.
    for core in cores:
        seen, todo = set(), [core]
        while todo:
            f = todo.pop()
            if f in seen or not f.exists():
                continue
            seen.add(f)
            for kind, name in includes(f):
                if FORBIDDEN_IN_CORE.match(name):
                    faults.append(f"{core.relative_to(root)}: reaches {name} through {f.relative_to(root)}")
                elif kind == '"':
                    todo.append(root / name)
    below_app = ["data", "formula", "charts", "statistics", "fitting", "documents", "platform", "widgets"]
    for folder in below_app:
        for f in sorted((root / folder).glob("*.[ch]*")):
            for _, name in includes(f):
                if name.startswith("app/"):
                    faults.append(f"{f.relative_to(root)}: includes {name}")
    for fault in faults:
        print("layering:", fault)
    if not cores:
        print("layering: no core sources listed")
        return 1
    print(f"layering: {len(cores)} core files checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
