#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes the SPDX copyright and licence header into every tracked file that lacks one.

Files that cannot carry a header are named in .reuse/dep5 and left alone; files that already
carry one are skipped, so running it again changes nothing. After merging branches that add
files, run it from anywhere in the tree and commit what it changed on its own.
"""

import fnmatch
import subprocess
import sys
from pathlib import Path

HOLDER = "The Kelmora developers"
YEAR = "2026"
LICENCE = "GPL-3.0-or-later"
# The metainfo is data for software centres, under the licence its metadata_license names.
LICENCE_OF = {"packaging/*.metainfo.xml.in": "CC0-1.0"}
# Files whose comment style reuse cannot tell from their name.
STYLE_OF = {"dev": "python", ".ci/run": "python", ".clang-format": "python",
            "*.desktop": "python", "*.xml.in": "html"}
# Manual pages: roff comments, which reuse does not write.
ROFF = ("*.[1-9]",)
# Split, so that reuse does not take this script's own text for a header.
TAG_COPYRIGHT = "SPDX-" "FileCopyrightText"
TAG_LICENCE = "SPDX-" "License-Identifier"


def first_match(path, table, default=None):
    return next((value for pattern, value in table.items() if fnmatch.fnmatch(path, pattern)),
                default)


def dep5_patterns(root):
    """The Files: globs of .reuse/dep5, whose files need no header."""
    patterns = []
    in_files = False
    for line in (root / ".reuse" / "dep5").read_text(encoding="utf-8").splitlines():
        if line.startswith("Files:"):
            patterns += line.removeprefix("Files:").split()
            in_files = True
        elif in_files and line.startswith((" ", "\t")):
            patterns += line.split()
        else:
            in_files = False
    return patterns


def add_roff_header(path, licence):
    text = path.read_text(encoding="utf-8")
    if TAG_LICENCE + ":" in text:
        return
    header = f'.\\" {TAG_COPYRIGHT}: {YEAR} {HOLDER}\n.\\" {TAG_LICENCE}: {licence}\n'
    path.write_text(header + text, encoding="utf-8")
    print(f"Added a roff header to {path}")


def main():
    root = Path(subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True,
                               text=True, check=True).stdout.strip())
    tracked = subprocess.run(["git", "ls-files", "-z"], cwd=root, capture_output=True,
                             text=True, check=True).stdout.split("\0")
    covered = dep5_patterns(root)
    groups = {}
    for path in filter(None, tracked):
        if path.startswith(("LICENSES/", ".reuse/")) or first_match(
                path, {p: True for p in covered}):
            continue
        licence = first_match(path, LICENCE_OF, LICENCE)
        if any(fnmatch.fnmatch(path, pattern) for pattern in ROFF):
            add_roff_header(root / path, licence)
            continue
        groups.setdefault((licence, first_match(path, STYLE_OF)), []).append(path)
    for (licence, style), paths in sorted(groups.items(), key=str):
        argv = ["reuse", "annotate", "--copyright", HOLDER, "--year", YEAR, "--license", licence,
                "--skip-existing"] + (["--style", style] if style else []) + paths
        subprocess.run(argv, cwd=root, check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
