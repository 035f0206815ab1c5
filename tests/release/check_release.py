#!/usr/bin/env python3
"""Checks the release archive as a downloader gets it, then unpacks it for the
end-to-end test of the release (release_test.cpp).

Usage: check_release.py ZIP WINDRES UNPACK_FOLDER
"""

import calendar
import hashlib
import os
import shutil
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "packaging"))
import make_release  # noqa: E402

ZIP, WINDRES, UNPACK_FOLDER = sys.argv[1:4]
VERSION = os.path.basename(ZIP)[len("Tallykeep-"):-len(".zip")]


def only_crlf(data):
    return data.count(b"\n") == data.count(b"\r\n") == data.count(b"\r")


class Archive(unittest.TestCase):
    def setUp(self):
        with open(ZIP, "rb") as archive:
            self.data = archive.read()
        self.zip = zipfile.ZipFile(ZIP)

    def test_holds_the_program_the_manual_the_licence_the_deals_table_and_the_game_in_its_folder(self):
        self.assertEqual(self.zip.namelist(), ["Tallykeep.exe", "Tallykeep.txt", "LICENSE.txt", "deals.tkd",
                                               "freecell/", "freecell/FREECELL.EXE"])
        self.assertTrue(self.zip.getinfo("freecell/").is_dir())

    def test_every_name_is_ascii_so_that_no_unpacker_garbles_it(self):
        for info in self.zip.infolist():
            self.assertTrue(info.filename.isascii(), info.filename)
            self.assertEqual(info.flag_bits & 0x800, 0, info.filename)  # no UTF-8 name flag either

    def test_the_game_carries_the_release_version(self):
        with tempfile.TemporaryDirectory() as scratch:
            game = os.path.join(scratch, "FREECELL.EXE")
            with open(game, "wb") as copy:
                copy.write(self.zip.read("freecell/FREECELL.EXE"))
            self.assertEqual(make_release.executable_version(game, WINDRES), {VERSION})

    def test_manual_is_code_page_932_with_crlf_and_names_the_version(self):
        manual = self.zip.read("Tallykeep.txt")
        self.assertTrue(only_crlf(manual))
        self.assertIn(f"Tallykeep {VERSION}  フリーセル成績記録ソフト", manual.decode("cp932"))

    def test_deals_table_is_the_committed_one_beside_the_program(self):
        with open(make_release.DEALS, "rb") as committed:
            self.assertEqual(self.zip.read("deals.tkd"), committed.read())

    def test_a_damaged_deals_table_is_refused(self):
        with tempfile.TemporaryDirectory() as scratch:
            exe, game = self.copies(scratch)
            damaged = bytearray(self.zip.read("deals.tkd"))
            damaged[16] ^= 0x08
            deals = os.path.join(scratch, "deals.tkd")
            with open(deals, "wb") as copy:
                copy.write(damaged)
            with self.assertRaisesRegex(make_release.ReleaseError, "checksum"):
                make_release.make_release(exe, game, VERSION, os.path.join(scratch, "out"), WINDRES, 0, deals)

    def test_licence_has_crlf(self):
        licence = self.zip.read("LICENSE.txt")
        self.assertTrue(only_crlf(licence))
        self.assertIn(b"Copyright (c) 2026 Tallykeep developers", licence)

    def test_checksum_file_beside_it_matches(self):
        with open(os.path.join(os.path.dirname(ZIP), "SHA256SUMS"), encoding="ascii") as sums:
            self.assertEqual(sums.read(), f"{hashlib.sha256(self.data).hexdigest()}  {os.path.basename(ZIP)}\n")

    def copies(self, scratch):
        """Fresh copies of the program and the game out of the archive."""
        paths = []
        for name in ("Tallykeep.exe", "freecell/FREECELL.EXE"):
            path = os.path.join(scratch, os.path.basename(name))
            with open(path, "wb") as copy:
                copy.write(self.zip.read(name))
            paths.append(path)
        return paths

    def test_made_again_from_fresh_copies_of_the_programs_it_is_the_same_bytes(self):
        epoch = calendar.timegm(self.zip.infolist()[0].date_time + (0, 0, 0))
        with tempfile.TemporaryDirectory() as scratch:
            exe, game = self.copies(scratch)
            path, _ = make_release.make_release(exe, game, VERSION, os.path.join(scratch, "out"), WINDRES, epoch)
            with open(path, "rb") as again:
                self.assertEqual(again.read(), self.data)

    def test_a_version_other_than_the_programs_is_refused(self):
        with tempfile.TemporaryDirectory() as scratch:
            exe, game = self.copies(scratch)
            with self.assertRaisesRegex(make_release.ReleaseError, "says version"):
                make_release.make_release(exe, game, "9.99", scratch, WINDRES, 0)


if __name__ == "__main__":
    result = unittest.main(argv=sys.argv[:1], exit=False, verbosity=2).result
    if not result.wasSuccessful():
        sys.exit(1)
    shutil.rmtree(UNPACK_FOLDER, ignore_errors=True)
    with zipfile.ZipFile(ZIP) as archive:
        archive.extractall(UNPACK_FOLDER)
    print(f"unpacked into {UNPACK_FOLDER}")
