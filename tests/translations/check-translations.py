#!/usr/bin/env python3
"""Lists the texts of a Qt Linguist file that lack a usable translation, and fails when there is any.

By default it first brings a temporary copy of the file up to date with the sources
(scripts/lupdate.sh), so that a text added to the program without a translation is listed as
unfinished. A translation is a problem when it is unfinished, empty, has other %1…%9 placeholders
than its source, or has lost (or gained) the keyboard accelerator '&' of its source.

Usage: check-translations.py [--no-lupdate] file.ts
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PLACEHOLDER = re.compile(r"%[1-9]")
ACCELERATOR = re.compile(r"&(?=[^&\s])")


def accelerators(text):
    return len(ACCELERATOR.findall(text.replace("&&", "")))


def problems(ts_path):
    found = []
    for context in ET.parse(ts_path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            where = f"{name}: {source}"
            kind = translation.get("type") if translation is not None else None
            if kind in ("obsolete", "vanished"):
                continue
            text = "".join(translation.itertext()) if translation is not None else ""
            if translation is None or kind == "unfinished":
                found.append(f"unfinished: {where}")
            elif not text.strip():
                found.append(f"empty: {where}")
            elif sorted(PLACEHOLDER.findall(source)) != sorted(PLACEHOLDER.findall(text)):
                found.append(f"placeholders: {where} -> {text}")
            elif accelerators(source) != accelerators(text):
                found.append(f"accelerator: {where} -> {text}")
    return found


def main(argv):
    run_lupdate = "--no-lupdate" not in argv
    paths = [a for a in argv if not a.startswith("--")]
    if len(paths) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    with tempfile.TemporaryDirectory() as tmp:
        copy = os.path.join(tmp, os.path.basename(paths[0]))
        shutil.copyfile(paths[0], copy)
        if run_lupdate:
            done = subprocess.run([os.path.join(ROOT, "scripts", "lupdate.sh"), copy],
                                  capture_output=True, text=True)
            if done.returncode != 0:
                print(done.stdout + done.stderr, file=sys.stderr)
                print("lupdate failed", file=sys.stderr)
                return 1
        found = problems(copy)
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} problem(s) in {os.path.basename(paths[0])}: fill them in with Qt Linguist "
              "after `make translations`")
        return 1
    print(f"ok: every text of {os.path.basename(paths[0])} is translated")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
