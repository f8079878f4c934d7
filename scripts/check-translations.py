#!/usr/bin/env python3
"""Checks the catalogues of translations/ against the sources.

  check-translations.py LUPDATE SOURCE_DIR

Every message of every .ts file has a finished translation (no
type="unfinished", no empty text, every plural form filled), keeps the
%1, %2 ... and %n of its source, and the .ts files hold exactly the texts
that lupdate finds in src/ now: a new tr() without a translation fails, and
so does a .ts file left behind after a text changed.
"""
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def messages(ts):
    """(context, source, comment) -> the translation element, of the live messages."""
    found = {}
    for context in ET.parse(ts).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            translation = message.find("translation")
            if translation is not None and translation.get("type") in ("obsolete", "vanished"):
                continue
            key = (name, message.findtext("source"), message.findtext("comment") or "")
            found[key] = (message, translation)
    return found


def markers(text):
    return sorted(set(re.findall(r"%L?(?:\d+|n)", text or "")))


def main():
    lupdate, source = sys.argv[1], pathlib.Path(sys.argv[2])
    catalogues = sorted((source / "translations").glob("*.ts"))
    problems = []
    if not catalogues:
        problems.append("no .ts files in translations/")
    for ts in catalogues:
        current = messages(ts)
        for (context, text, _), (message, translation) in current.items():
            where = f"{ts.name}: {context}: {text!r}"
            if translation is None or translation.get("type") == "unfinished":
                problems.append(f"{where}: not translated")
                continue
            forms = ([f.text for f in translation.iter("numerusform")]
                     if message.get("numerus") == "yes" else [translation.text])
            if not forms or any(not (form or "").strip() for form in forms):
                problems.append(f"{where}: empty translation")
            for form in forms:
                if markers(form) != markers(text):
                    problems.append(f"{where}: {form!r} has {markers(form)}, "
                                    f"the source {markers(text)}")
        # lupdate over the sources into a copy: the texts it finds now.
        with tempfile.TemporaryDirectory() as folder:
            copy = pathlib.Path(folder) / ts.name
            shutil.copy(ts, copy)
            run = subprocess.run([lupdate, "-silent", "-locations", "none", "-no-obsolete",
                                  "-extensions", "cpp,h", str(source / "src"), "-ts", str(copy)],
                                 capture_output=True, text=True)
            if run.returncode != 0:
                problems.append(f"{ts.name}: lupdate failed: {run.stderr.strip()}")
                continue
            fresh = messages(copy)
        for key in sorted(fresh.keys() - current.keys()):
            problems.append(f"{ts.name}: {key[0]}: {key[1]!r}: in the sources, not in the file")
        for key in sorted(current.keys() - fresh.keys()):
            problems.append(f"{ts.name}: {key[0]}: {key[1]!r}: in the file, no longer in the sources")
    for problem in problems:
        print(problem)
    print(f"{len(catalogues)} catalogues, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
