#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer.

Each library is one folder; an include line names the folder it reaches
("workbook/SheetConnection.h"), even within the library itself. A library may include its own folder and
the folders of the layers below it; the tests of a library (tests/<folder>)
may reach what that library reaches. No include anywhere climbs out of its
folder with "../".

Usage: check_layers.py ROOT
"""
import pathlib
import re
import sys

# The libraries from the bottom layer up: this list is the layer order.
LAYERS = [
    ["base"],
    ["workbook", "companies", "database"],
    ["mapping"],
    ["validation", "import"],
    ["form"],
    ["gui"],
    ["cli"],
]
LEVEL = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCES = ("*.h", "*.cpp", "*.h.in")


def library_of(path, root):
    """The library whose rules a file follows: its folder, or tests/<folder>."""
    parts = path.relative_to(root).parts
    if parts[0] == "tests" and len(parts) > 2:
        parts = parts[1:]
    return parts[0] if parts[0] in LEVEL else None


def not_ours(top):
    """Build trees (build, build-fuzz, ...) and git's files hold no code of ours."""
    return top in ("build", ".git") or top.startswith("build-")


def problems(root):
    for pattern in SOURCES:
        for path in sorted(root.rglob(pattern)):
            rel = path.relative_to(root)
            if not_ours(rel.parts[0]) or rel.parts[:2] == ("tests", "layers"):
                continue
            owner = library_of(path, root)
            for name in INCLUDE.findall(path.read_text(errors="replace")):
                if "../" in name:
                    yield f'{rel}: "{name}" climbs out of its folder; include from the root'
                    continue
                folder = name.split("/")[0] if "/" in name else None
                in_library = rel.parts[0] in LEVEL
                if in_library and folder is None and (path.parent / name).exists():
                    yield f'{rel}: "{name}" does not say its folder; include from the root'
                    continue
                if owner is None or folder not in LEVEL:
                    continue
                if folder != owner and LEVEL[folder] >= LEVEL[owner]:
                    yield (f'{rel}: "{name}" reaches {folder}, which is not below {owner} '
                           f"(layers from the bottom: {LAYERS})")


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    found = list(problems(root))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
