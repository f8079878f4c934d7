#!/usr/bin/env python3
"""Checks that every include of the project points down the layers.

    platform < compare < results < desktop < widgets < shell < app

A folder under src/ may include its own headers and those of the folders it
links (LINKS below, as in each folder's CMakeLists.txt); the companion (every
file of src/app/ but main.cpp) links only platform, compare and results. An
include of a project header names its folder ("compare/LineMatch.h"). The
fuzzers reach the engine and the shared test code only.

Usage: check-includes.py [ROOT]. Prints each include that breaks a rule and
exits 1 when there is one.
"""

import re
import sys
from pathlib import Path

# What each folder may include, itself included.
LINKS = {
    "platform": {"platform"},
    "compare": {"compare", "platform"},
    "results": {"results", "compare", "platform"},
    "desktop": {"desktop", "platform"},
    "widgets": {"widgets", "results", "compare", "platform", "desktop"},
    "shell": {"shell", "widgets", "results", "compare", "platform", "desktop"},
    "app": {"app", "shell", "widgets", "results", "compare", "platform", "desktop"},
}
COMPANION = {"app", "results", "compare", "platform"}
FUZZ = {"fuzz", "tests", "compare", "platform"}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCES = (".cpp", ".h")


def allowed_for(root: Path, path: Path):
    """The folders that path may include from, or None when it is not checked."""
    parts = path.relative_to(root).parts
    if parts[0] == "src" and len(parts) == 3:
        folder = parts[1]
        if folder == "app" and parts[2] != "main.cpp":
            return COMPANION
        return LINKS.get(folder, set())
    if parts[0] == "fuzz":
        return FUZZ
    return None


def main() -> int:
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
    faults = []
    counted = named = 0
    files = [p for top in ("src", "tests", "fuzz", "bench") for p in (root / top).rglob("*")
             if p.suffix in SOURCES and p.is_file()]
    for path in sorted(files):
        allowed = allowed_for(root, path)
        text = path.read_text(encoding="utf-8")
        for number, match in ((text.count("\n", 0, m.start()) + 1, m)
                              for m in INCLUDE.finditer(text)):
            target = match.group(1)
            where = f"{path.relative_to(root)}:{number}"
            if target.endswith(".moc"):
                continue  # what moc makes of the file itself
            counted += 1
            folder, _, rest = target.partition("/")
            if not rest:
                faults.append(f'{where}: "{target}" names no folder')
                continue
            named += 1
            top = "src/" + folder if (root / "src" / folder).is_dir() else folder
            if not (root / top / rest).is_file():
                faults.append(f'{where}: "{target}" is no file of the project')
                continue
            if allowed is not None and folder not in allowed:
                faults.append(f'{where}: "{target}" reaches up into {folder}/')
    for fault in faults:
        print(fault)
    print(f"{named} of {counted} project includes name their folder; "
          f"{len(faults)} break a rule")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
