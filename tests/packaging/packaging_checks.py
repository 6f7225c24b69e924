# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""What the packaging tests share: where things are, and how to read them."""

import configparser
import os
import struct
import subprocess
import xml.etree.ElementTree as ElementTree
from pathlib import Path

def app_id():
    return os.environ["KELMORA_APP_ID"]


def prefix():
    return Path(os.environ["KELMORA_TEST_PREFIX"])


def build_dir():
    return Path(os.environ["KELMORA_BUILD_DIR"])


def deb():
    """The package the kelmora_deb fixture made."""
    debs = list(Path(os.environ["KELMORA_DEB_DIR"]).glob("*.deb"))
    if len(debs) != 1:
        raise AssertionError(f"expected one package, found {debs}")
    return debs[0]


def icon_sizes():
    return [int(size) for size in os.environ["KELMORA_ICON_SIZES"].split(",")]


def run(*argv, env=None):
    """Runs a tool; returns its exit status and everything it printed."""
    result = subprocess.run(argv, capture_output=True, text=True, timeout=300, env=env)
    return result.returncode, (result.stdout + result.stderr).strip()


def validator_findings(report):
    """The lines of a validator's report that name a finding, of any severity."""
    return [line for line in report.splitlines() if line[:3] in ("E: ", "W: ", "I: ", "P: ")]


def read_desktop_entry(path):
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str  # keys are case-sensitive
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


def read_metainfo(path):
    return ElementTree.parse(path).getroot()


def png_size(path):
    with open(path, "rb") as png:
        header = png.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        raise AssertionError(f"{path} is not a PNG")
    return struct.unpack(">II", header[16:24])


def installed_files(root):
    return sorted(str(p.relative_to(root)) for p in root.rglob("*") if p.is_file())
