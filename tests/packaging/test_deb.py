"""CPack's Debian package: what it holds and what it depends on."""

import tempfile
import unittest
from pathlib import Path

from packaging_checks import build_dir, installed_files, prefix, run

# What the tool needs at run time that no linked library names.
HAND_WRITTEN_DEPENDS = {"fonts-wqy-microhei", "fonts-dejavu-core", "qt6-translations-l10n"}


class DebTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = tempfile.TemporaryDirectory(prefix="kelmora-deb-")
        status, report = run("cpack", "-G", "DEB", "--config",
                             str(build_dir() / "CPackConfig.cmake"), "-B", cls.out.name)
        if status != 0:
            raise AssertionError(f"cpack failed: {report}")
        debs = list(Path(cls.out.name).glob("*.deb"))
        if len(debs) != 1:
            raise AssertionError(f"cpack made {debs}")
        cls.deb = str(debs[0])

    @classmethod
    def tearDownClass(cls):
        cls.out.cleanup()

    def field(self, name):
        status, value = run("dpkg-deb", "--field", self.deb, name)
        self.assertEqual(status, 0, value)
        return value

    def test_depends_come_from_the_linked_libraries_and_the_fonts(self):
        depends = {part.split("(")[0].strip() for part in self.field("Depends").split(",")}
        self.assertTrue(HAND_WRITTEN_DEPENDS <= depends, depends)
        # Found by dpkg-shlibdeps from the binary, not written down anywhere in the project.
        status, needed = run("objdump", "-p", str(prefix() / "bin" / "kelmora"))
        self.assertEqual(status, 0, needed)
        self.assertIn("libQt6Widgets.so.6", needed)
        self.assertIn("libqt6widgets6", depends)
        self.assertIn("libc6", depends)

    def test_holds_what_the_install_puts_in_place(self):
        status, listing = run("dpkg-deb", "--contents", self.deb)
        self.assertEqual(status, 0, listing)
        in_deb = sorted(line.split()[-1].removeprefix("./usr/") for line in listing.splitlines()
                        if not line.startswith("d"))
        self.assertEqual(in_deb, installed_files(prefix()))
        self.assertEqual(self.field("Package"), "kelmora")


if __name__ == "__main__":
    unittest.main()
