# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The installed desktop entry, icons, metainfo and manual page pass the validators and point at
each other under the one application id."""

import gzip
import re
import unittest
import xml.etree.ElementTree as ElementTree

from packaging_checks import (app_id, icon_sizes, installed_files, png_size, prefix,
                              read_desktop_entry, read_metainfo, run, validator_findings)

XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"
# Addresses that only stand in for a real one, and licence names that say there is none.
PLACEHOLDERS = re.compile(r"example\.(org|com|net)|@localhost|LicenseRef-", re.IGNORECASE)


class InstalledTreeTest(unittest.TestCase):
    def setUp(self):
        self.share = prefix() / "share"
        self.desktop_file = self.share / "applications" / f"{app_id()}.desktop"
        self.metainfo = self.share / "metainfo" / f"{app_id()}.metainfo.xml"

    def test_desktop_entry_validates(self):
        status, report = run("desktop-file-validate", str(self.desktop_file))
        self.assertEqual((status, report), (0, ""))

    def test_metainfo_validates_pedantically_without_overrides(self):
        for command, target in (("validate", self.metainfo), ("validate-tree", prefix())):
            with self.subTest(command=command):
                status, report = run("appstreamcli", command, "--pedantic", "--no-net",
                                     str(target))
                self.assertEqual(status, 0, report)
                self.assertEqual(validator_findings(report), [], report)

    def test_entry_launches_the_installed_binary_with_the_installed_icon(self):
        entry = read_desktop_entry(self.desktop_file)
        binary = prefix() / "bin" / entry["Exec"].split()[0]
        self.assertTrue(binary.is_file(), f"Exec names {binary}, which is not installed")
        self.assertEqual(entry["Icon"], app_id())
        theme = self.share / "icons" / "hicolor"
        ElementTree.parse(theme / "scalable" / "apps" / f"{app_id()}.svg")  # there, well-formed
        for size in icon_sizes():
            with self.subTest(size=size):
                self.assertEqual(png_size(theme / f"{size}x{size}" / "apps" / f"{app_id()}.png"),
                                 (size, size))
        # The window's class is the entry's id, so the desktop groups them.
        self.assertEqual(entry["StartupWMClass"], app_id())

    def test_entry_and_metainfo_speak_chinese_too(self):
        entry = read_desktop_entry(self.desktop_file)
        for key in ("Name", "GenericName", "Comment", "Keywords"):
            with self.subTest(key=key):
                self.assertTrue(entry[f"{key}[zh_CN]"].strip())
        component = read_metainfo(self.metainfo)
        for path in ("name", "summary", "developer_name", "description/p"):
            with self.subTest(path=path):
                translated = [e for e in component.findall(path) if e.get(XML_LANG) == "zh-CN"]
                untranslated = [e for e in component.findall(path) if e.get(XML_LANG) is None]
                self.assertEqual(len(translated), len(untranslated))
                self.assertTrue(all(re.search("[\u4e00-\u9fff]|Kelmora", e.text)
                                    for e in translated))

    def test_metainfo_describes_the_entry(self):
        component = read_metainfo(self.metainfo)
        self.assertEqual(component.get("type"), "desktop-application")
        self.assertEqual(component.findtext("id"), app_id())
        self.assertEqual(component.findtext("launchable"), self.desktop_file.name)
        self.assertEqual(component.findtext("name"), read_desktop_entry(self.desktop_file)["Name"])
        self.assertEqual(component.findtext("project_license"), "GPL-3.0-or-later")
        self.assertTrue(component.findtext("description/p").strip())
        release = component.find("releases/release")
        self.assertTrue(release.findtext("description/p").strip())
        self.assertEqual(component.find("content_rating").get("type"), "oars-1.1")

    def test_nothing_installed_carries_a_placeholder(self):
        for name in installed_files(prefix()):
            path = prefix() / name
            if path.suffix == ".png" or path.parent.name == "bin":
                continue
            with self.subTest(file=name):
                opener = gzip.open if path.suffix == ".gz" else open
                with opener(path, "rt", encoding="utf-8") as text:
                    self.assertIsNone(PLACEHOLDERS.search(text.read()))

    def test_manual_page_renders_without_warnings(self):
        page = prefix() / "share" / "man" / "man1" / "kelmora.1.gz"
        status, text = run("man", "--warnings", "-l", str(page), env={"MANWIDTH": "80",
                                                                      "LANG": "C.UTF-8",
                                                                      "PATH": "/usr/bin:/bin"})
        self.assertEqual(status, 0, text)
        self.assertNotRegex(text, r"(?m)^(troff|groff|man|mandoc|<standard input>):", text)
        for section in ("NAME", "SYNOPSIS", "DESCRIPTION", "KEYS", "EXIT STATUS"):
            self.assertRegex(text, rf"(?m)^{section}$")


if __name__ == "__main__":
    unittest.main()
