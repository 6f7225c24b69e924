"""The installed desktop entry, icons and metainfo pass the validators and point at each other."""

import unittest
import xml.etree.ElementTree as ElementTree

from packaging_checks import (APPSTREAM_OVERRIDES, icon_sizes, png_size, prefix,
                              read_desktop_entry, read_metainfo, run)


class InstalledTreeTest(unittest.TestCase):
    def setUp(self):
        self.share = prefix() / "share"
        self.desktop_file = self.share / "applications" / "kelmora.desktop"
        self.metainfo = self.share / "metainfo" / "kelmora.metainfo.xml"

    def test_desktop_entry_validates(self):
        status, report = run("desktop-file-validate", str(self.desktop_file))
        self.assertEqual((status, report), (0, ""))

    def test_metainfo_validates(self):
        for command in ("validate", "validate-tree"):
            target = self.metainfo if command == "validate" else prefix()
            with self.subTest(command=command):
                status, report = run("appstreamcli", command, "--no-net", *APPSTREAM_OVERRIDES,
                                     str(target))
                self.assertEqual(status, 0, report)

    def test_entry_launches_the_installed_binary_with_the_installed_icon(self):
        entry = read_desktop_entry(self.desktop_file)
        binary = prefix() / "bin" / entry["Exec"].split()[0]
        self.assertTrue(binary.is_file(), f"Exec names {binary}, which is not installed")
        icon = entry["Icon"]
        theme = self.share / "icons" / "hicolor"
        self.assertTrue((theme / "scalable" / "apps" / f"{icon}.svg").is_file())
        ElementTree.parse(theme / "scalable" / "apps" / f"{icon}.svg")  # well-formed
        for size in icon_sizes():
            with self.subTest(size=size):
                self.assertEqual(png_size(theme / f"{size}x{size}" / "apps" / f"{icon}.png"),
                                 (size, size))
        # The window's class is the entry's name, so the desktop groups them.
        self.assertEqual(entry["StartupWMClass"], self.desktop_file.stem)

    def test_metainfo_describes_the_entry(self):
        component = read_metainfo(self.metainfo)
        self.assertEqual(component.get("type"), "desktop-application")
        self.assertEqual(component.findtext("id"), self.desktop_file.stem)
        self.assertEqual(component.findtext("launchable"), self.desktop_file.name)
        self.assertEqual(component.findtext("name"), read_desktop_entry(self.desktop_file)["Name"])
        self.assertTrue(component.findtext("description/p").strip())
        image = component.findtext("screenshots/screenshot/image")
        self.assertTrue(image.startswith("https://") and image.endswith(".png"), image)


if __name__ == "__main__":
    unittest.main()
