"""Tests of the import check, fed with made-up objdump output and allow-lists."""

import os
import unittest

from check_imports import AllowListError, check, parse_allow_list, parse_objdump

HEADER = """MajorOSystemVersion\t4
MinorOSystemVersion\t0
MajorSubsystemVersion\t{major}
MinorSubsystemVersion\t{minor}
"""

IMPORTS = """The Import Tables (interpreted .idata section contents)
 vma:            Hint    Time      Forward  DLL       First
 00057000\t00057078 00000000 00000000 000581d4 0005736c

\tDLL Name: KERNEL32.dll
\tvma:  Hint/Ord Member-Name Bound-To
\t577a4\t  136  CloseHandle
\t577b2\t  228  {extra}

 00057014\t00057090 00000000 00000000 00058218 00057384

\tDLL Name: COMCTL32.DLL
\tvma:  Hint/Ord Member-Name Bound-To
\t80000011\t   17  <none>
"""

ALLOWED = """claim 98 4.0
KERNEL32.DLL CloseHandle 95 4.0
KERNEL32.DLL Sleep       95 4.0  # a note
COMCTL32.DLL @17         95 4.0
"""


def dump(extra="Sleep", major=4, minor=0):
    return HEADER.format(major=major, minor=minor) + IMPORTS.format(extra=extra)


def problems(objdump_text, allow_list=ALLOWED):
    imports, header = parse_objdump(objdump_text)
    claim, allowed = parse_allow_list(allow_list)
    return check(imports, header, claim, allowed)


class ParseObjdump(unittest.TestCase):
    def test_reads_named_and_ordinal_imports_per_dll(self):
        imports, _ = parse_objdump(dump())
        self.assertEqual(imports, {"KERNEL32.DLL CloseHandle", "KERNEL32.DLL Sleep", "COMCTL32.DLL @17"})


class Check(unittest.TestCase):
    def test_listed_imports_and_an_old_header_pass(self):
        self.assertEqual(problems(dump()), [])

    def test_an_import_missing_from_the_list_fails(self):
        self.assertEqual(problems(dump(extra="GetTickCount64")),
                         ["new import KERNEL32.DLL GetTickCount64: not in the allow-list"])

    def test_a_listed_import_newer_than_the_claim_fails_for_each_line(self):
        allow_list = ALLOWED + "KERNEL32.DLL GetTickCount64 - Vista\n"
        self.assertEqual(problems(dump(extra="GetTickCount64"), allow_list),
                         ["KERNEL32.DLL GetTickCount64 is not in Windows 98 (first in -)",
                          "KERNEL32.DLL GetTickCount64 is not in Windows NT 4.0 (first in Vista)"])

    def test_a_function_of_nt_alone_fails_a_claim_of_98(self):
        allow_list = ALLOWED + "KERNEL32.DLL TryEnterCriticalSection - 4.0\n"
        self.assertEqual(problems(dump(extra="TryEnterCriticalSection"), allow_list),
                         ["KERNEL32.DLL TryEnterCriticalSection is not in Windows 98 (first in -)"])

    def test_a_header_asking_for_a_newer_windows_fails(self):
        self.assertEqual(problems(dump(major=5, minor=1)),
                         ["the PE header asks for Subsystem version 5.1, newer than 4.0"])

    def test_a_header_without_version_fields_fails(self):
        self.assertEqual(len(problems(IMPORTS.format(extra="Sleep"))), 2)


class ParseAllowList(unittest.TestCase):
    def test_rejects_a_function_listed_twice(self):
        with self.assertRaisesRegex(AllowListError, "listed twice"):
            parse_allow_list(ALLOWED + "kernel32.dll CloseHandle 95 4.0\n")

    def test_rejects_an_unknown_version(self):
        with self.assertRaisesRegex(AllowListError, "unknown NT version"):
            parse_allow_list(ALLOWED + "KERNEL32.DLL Beep 95 NT4\n")

    def test_rejects_a_list_without_a_claim(self):
        with self.assertRaisesRegex(AllowListError, "no claim"):
            parse_allow_list(ALLOWED.replace("claim 98 4.0", ""))

    def test_every_committed_entry_lies_within_the_committed_claim(self):
        path = os.path.join(os.path.dirname(__file__), "allowed_imports.txt")
        with open(path, encoding="utf-8") as allow_file:
            claim, allowed = parse_allow_list(allow_file.read())
        header = {"MajorSubsystem": 4, "MinorSubsystem": 0, "MajorOSystem": 4, "MinorOSystem": 0}
        self.assertEqual(check(set(allowed), header, claim, allowed), [])


if __name__ == "__main__":
    unittest.main()
