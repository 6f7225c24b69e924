# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""CPack's Debian package: what it holds and depends on, what lintian says of it, and that it
installs and runs, tried without touching the machine's installed packages."""

import os
import re
import shutil
import sys
import tempfile
import unittest
from pathlib import Path
from unittest import mock

from packaging_checks import (app_id, build_dir, deb, installed_files, prefix,
                              read_desktop_entry, run)

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
from kelmora_e2e import Session  # noqa: E402  (the end-to-end suite's desktop and driver)

# What the tool needs at run time that no linked library names.
HAND_WRITTEN_DEPENDS = {"fonts-dejavu-core", "fonts-wqy-microhei", "fonts-noto-cjk",
                        "qt6-translations-l10n"}


def field(name):
    status, value = run("dpkg-deb", "--field", str(deb()), name)
    if status != 0:
        raise AssertionError(value)
    return value


class ContentsTest(unittest.TestCase):
    def test_depends_come_from_the_linked_libraries_and_the_fonts(self):
        depends = {part.split("(")[0].strip() for part in field("Depends").split(",")}
        self.assertTrue(HAND_WRITTEN_DEPENDS <= depends, depends)
        # Found by dpkg-shlibdeps from the binary, not written down anywhere in the project.
        status, needed = run("objdump", "-p", str(prefix() / "bin" / "kelmora"))
        self.assertEqual(status, 0, needed)
        self.assertIn("libQt6Widgets.so.6", needed)
        self.assertIn("libqt6widgets6", depends)
        self.assertIn("libc6", depends)

    def test_holds_what_the_install_puts_in_place(self):
        status, listing = run("dpkg-deb", "--contents", str(deb()))
        self.assertEqual(status, 0, listing)
        in_deb = sorted(line.split()[-1].removeprefix("./usr/") for line in listing.splitlines()
                        if not line.startswith("d"))
        self.assertEqual(in_deb, installed_files(prefix()))
        self.assertEqual(field("Package"), "kelmora")

    def test_maintainer_is_the_build_setting(self):
        cache = (build_dir() / "CMakeCache.txt").read_text(encoding="utf-8")
        setting = re.search(r"^KELMORA_PACKAGE_MAINTAINER:STRING=(.*)$", cache, re.M).group(1)
        self.assertEqual(field("Maintainer"), setting)


class LintianTest(unittest.TestCase):
    def test_lintian_reports_no_error_and_no_warning(self):
        status, report = run("lintian", "--info", "--display-info", "--fail-on", "error,warning",
                             str(deb()))
        print(report)  # the informational tags too, for whoever reads the test's log
        findings = [line for line in report.splitlines() if re.match(r"[EW]: ", line)]
        self.assertEqual(findings, [], report)
        self.assertEqual(status, 0, report)


def dock_lookup(env, wm_class):
    """Finds the desktop entry and icon for a window class as a dock does: the class names the
    entry's id, looked up along XDG_DATA_DIRS, and the entry's Icon is looked up in hicolor."""
    data_dirs = [Path(d) for d in env["XDG_DATA_DIRS"].split(":") if d]
    entry_file = next((d / "applications" / f"{wm_class}.desktop" for d in data_dirs
                       if (d / "applications" / f"{wm_class}.desktop").is_file()), None)
    if entry_file is None:
        return None, []
    icon = read_desktop_entry(entry_file)["Icon"]
    icons = [path for d in data_dirs for path in sorted((d / "icons" / "hicolor").glob(
        f"*/apps/{icon}.*")) if path.suffix in (".png", ".svg")]
    return entry_file, icons


class UnpackedRunTest(unittest.TestCase):
    def setUp(self):
        self.scratch = Path(self.enterContext(tempfile.TemporaryDirectory(
            prefix="kelmora-unpacked-")))

    def test_apt_resolves_the_package_without_installing_it(self):
        # --reinstall, so that a copy of the same version already installed still shows the plan.
        status, plan = run("apt-get", "install", "--simulate", "--reinstall", "--yes",
                           str(deb().resolve()))
        self.assertEqual(status, 0, plan)
        self.assertRegex(plan, r"(?m)^Inst kelmora .*\(1\.0\.0 local-deb \[amd64\]\)", plan)
        self.assertRegex(plan, r"(?m)^Conf kelmora ", plan)
        self.assertNotRegex(plan, r"(?m)^Remv ", plan)

    def test_unpacked_binary_maps_its_window_with_its_entry_and_icon(self):
        status, report = run("dpkg-deb", "-x", str(deb()), str(self.scratch))
        self.assertEqual(status, 0, report)
        usr = self.scratch / "usr"
        artifacts = build_dir() / "tests" / "packaging" / "artifacts"
        with mock.patch.dict(os.environ, KELMORA_E2E_PREFIX=str(usr),
                             KELMORA_E2E_ARTIFACTS=str(artifacts)), \
                Session() as (desktop, kelmora):
            # The unpacked binary itself, found through PATH as the entry's Exec would be.
            self.assertEqual(Path(os.readlink(f"/proc/{kelmora.process.pid}/exe")),
                             usr / "bin" / "kelmora")
            self.assertEqual(Path(shutil.which("kelmora", path=desktop.env["PATH"])),
                             usr / "bin" / "kelmora")

            wm_class = re.findall(r'"([^"]*)"', desktop.run("xprop", "-id", str(kelmora.window),
                                                             "WM_CLASS"))
            self.assertEqual(wm_class, ["kelmora", app_id()])
            entry_file, icons = dock_lookup(desktop.env, wm_class[1])
            self.assertIsNotNone(entry_file, f"no desktop entry for the class {wm_class[1]}")
            self.assertTrue(entry_file.is_relative_to(usr), entry_file)
            self.assertEqual(read_desktop_entry(entry_file)["StartupWMClass"], wm_class[1])
            unpacked_icons = {p.relative_to(usr / "share" / "icons" / "hicolor").parts[0]
                              for p in icons if p.is_relative_to(usr)}
            self.assertTrue({"scalable", "48x48"} <= unpacked_icons, icons)

            window_icons = desktop.run("xprop", "-id", str(kelmora.window), "_NET_WM_ICON")
            sizes = {int(w) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)", window_icons)
                     if w == h}
            self.assertTrue({16, 32, 48} <= sizes, f"window icon sizes: {sorted(sizes)}")


if __name__ == "__main__":
    unittest.main()
