#!/usr/bin/env python3
"""Holds the import table of Tallykeep.exe against the committed allow-list.

Windows refuses to start a program that imports a function its DLLs lack, so
every import must be a function that each Windows version Tallykeep claims
already has. The allow-list names each allowed function with the first
Windows of each line (95/98/Me and NT) that has it, and the oldest versions
the program claims; this check fails on an import that is not listed, on a
listed function newer than the claim, and on a PE header that asks for a
newer Windows than the claim.

Usage: check_imports.py [--objdump PROGRAM] EXECUTABLE ALLOW_LIST
"""

import argparse
import re
import subprocess
import sys

# Version numbers as the PE header and GetVersionEx give them. "95" and "4.0"
# in the allow-list also stand for any earlier release of their line.
WIN9X_VERSIONS = {"95": (4, 0), "98": (4, 10), "Me": (4, 90)}
NT_VERSIONS = {"4.0": (4, 0), "2000": (5, 0), "XP": (5, 1), "Vista": (6, 0),
               "7": (6, 1), "8": (6, 2), "8.1": (6, 3), "10": (10, 0)}
ABSENT = "-"


class AllowListError(Exception):
    pass


def parse_objdump(text):
    """Returns (imports, header): imports as a set of "DLL function" strings
    (DLL names upper case, ordinal-only imports as "#n"), header as a dict of
    the PE header's version fields."""
    imports = set()
    header = {}
    dll = None
    for line in text.splitlines():
        field = re.match(r"(Major|Minor)(OSystem|Subsystem)Version\s+(\d+)$", line)
        if field:
            header[field.group(1) + field.group(2)] = int(field.group(3))
            continue
        name = re.match(r"\s*DLL Name: (\S+)", line)
        if name:
            dll = name.group(1).upper()
            continue
        if dll is None:
            continue
        entry = re.match(r"\t[0-9a-fA-F]+\t\s*(\d+)\s+(\S+)", line)
        if entry:
            function = entry.group(2)
            imports.add(f"{dll} @{entry.group(1)}" if function == "<none>" else f"{dll} {function}")
        elif line.strip() and "Hint/Ord" not in line:
            dll = None
    return imports, header


def parse_allow_list(text):
    """Returns (claim, allowed): claim as (9x version, NT version) names,
    allowed as a dict from "DLL function" to (9x version, NT version)."""
    claim = None
    allowed = {}
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.split("#", 1)[0].split()
        if not line:
            continue
        if line[0] == "claim" and len(line) == 3:
            claim = (line[1], line[2])
            versions = claim
        elif len(line) == 4:
            key = f"{line[0].upper()} {line[1]}"
            if key in allowed:
                raise AllowListError(f"line {number}: {key} is listed twice")
            allowed[key] = versions = (line[2], line[3])
        else:
            raise AllowListError(f"line {number}: expected 'DLL function 9x NT' or 'claim 9x NT': {raw}")
        if versions[0] not in WIN9X_VERSIONS and versions[0] != ABSENT:
            raise AllowListError(f"line {number}: unknown 95/98/Me version {versions[0]}")
        if versions[1] not in NT_VERSIONS and versions[1] != ABSENT:
            raise AllowListError(f"line {number}: unknown NT version {versions[1]}")
    if claim is None or ABSENT in claim:
        raise AllowListError("the allow-list names no claim of a 95/98/Me and an NT version")
    return claim, allowed


def newer_than(version, claimed, table):
    """True when a function first found in `version` is missing from the
    claimed version of the same line."""
    return version == ABSENT or table[version] > table[claimed]


def check(imports, header, claim, allowed):
    """Returns the problems found, each a line of text; none means the
    executable starts on every claimed Windows as far as its imports and
    header tell."""
    problems = []
    for key in sorted(imports - allowed.keys()):
        problems.append(f"new import {key}: not in the allow-list")
    for key in sorted(imports & allowed.keys()):
        win9x, nt = allowed[key]
        if newer_than(win9x, claim[0], WIN9X_VERSIONS):
            problems.append(f"{key} is not in Windows {claim[0]} (first in {win9x})")
        if newer_than(nt, claim[1], NT_VERSIONS):
            problems.append(f"{key} is not in Windows NT {claim[1]} (first in {nt})")
    oldest = min(WIN9X_VERSIONS[claim[0]], NT_VERSIONS[claim[1]])
    for kind in ("Subsystem", "OSystem"):
        asked = (header.get("Major" + kind), header.get("Minor" + kind))
        if None in asked:
            problems.append(f"the PE header shows no {kind} version")
        elif asked > oldest:
            problems.append(f"the PE header asks for {kind} version {asked[0]}.{asked[1]}, "
                            f"newer than {oldest[0]}.{oldest[1]}")
    return problems


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("executable")
    parser.add_argument("allow_list")
    args = parser.parse_args(argv)

    dump = subprocess.run([args.objdump, "-p", args.executable], capture_output=True, text=True)
    if dump.returncode != 0:
        print(f"{args.objdump} -p {args.executable} failed: {dump.stderr.strip()}")
        return 2
    imports, header = parse_objdump(dump.stdout)
    with open(args.allow_list, encoding="utf-8") as allow_file:
        claim, allowed = parse_allow_list(allow_file.read())

    problems = check(imports, header, claim, allowed)
    for key in sorted(allowed.keys() - imports):
        print(f"note: {key} is allowed but not imported")
    for problem in problems:
        print(problem)
    if problems:
        print(f"Add a function to {args.allow_list} only with the first Windows of each line that has it; "
              f"one newer than the claim ({claim[0]} and NT {claim[1]}) would stop Tallykeep from starting there.")
        return 1
    print(f"{len(imports)} imports, all in Windows {claim[0]} and NT {claim[1]}; "
          f"PE header asks for {header['MajorSubsystem']}.{header['MinorSubsystem']}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
