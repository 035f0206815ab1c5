#!/usr/bin/env python3
"""Writes the release archive Tallykeep-<version>.zip and its SHA256SUMS.

The archive holds Tallykeep.exe, the Japanese manual Tallykeep.txt (code page
932, CRLF line ends, as Windows text editors of every age read it), the
licence LICENSE.txt (CRLF), the deals' table deals.tkd (what Freecell Solver
found about each deal, docs/deal-table.md), and the game that ships with
Tallykeep, freecell/FREECELL.EXE, which Tallykeep starts when Windows has no
game of its own. Every name is ASCII, so that no unpacker garbles one. Its bytes depend
only on those inputs and on the given time stamp: entries in a fixed order,
each with that time and fixed attributes, so two builds of one commit give the
same archive.

Usage: make_release.py --exe Tallykeep.exe --game FREECELL.EXE --version 1.21
                       --out DIR [--deals data/deals.tkd] [--windres PROGRAM]
                       [--epoch SECONDS]
"""

import argparse
import hashlib
import os
import re
import struct
import subprocess
import sys
import time
import zipfile
import zlib

SOURCE_DIR = os.path.dirname(os.path.abspath(__file__))
MANUAL = os.path.join(SOURCE_DIR, "Tallykeep.txt")
LICENCE = os.path.join(SOURCE_DIR, os.pardir, "LICENSE")
DEALS = os.path.join(SOURCE_DIR, os.pardir, "data", "deals.tkd")
DEALS_NAME = "deals.tkd"  # Tallykeep reads it beside itself
GAME_FOLDER = "freecell"  # Tallykeep looks for the game there, beside itself
ZIP_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC, the earliest time a zip entry can hold


class ReleaseError(Exception):
    pass


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def manual_bytes(version):
    with open(MANUAL, encoding="utf-8") as source:
        text = source.read().replace("@VERSION@", version)
    if not re.search(rf"^■\d+\. 改版履歴\n\n  {re.escape(version)}[ \n]", text, re.MULTILINE):
        raise ReleaseError(f"the manual's version history does not begin with {version}")
    try:
        return crlf(text).encode("cp932")
    except UnicodeEncodeError as error:
        bad = text[error.start:error.end]
        line = text.count("\n", 0, error.start) + 1
        raise ReleaseError(f"{MANUAL}:{line}: {bad!r} has no code page 932 form") from None


def licence_bytes():
    with open(LICENCE, encoding="ascii") as source:
        return crlf(source.read()).encode("ascii")


def deals_bytes(path):
    """The deals' table, checked as Tallykeep checks it before use: a release
    never carries one that Tallykeep would refuse."""
    with open(path, "rb") as table:
        data = table.read()
    if len(data) < 16 or data[:4] != b"TKDT":
        raise ReleaseError(f"{path} is not a deals' table")
    version, record_size, count, checksum = struct.unpack("<HHII", data[4:16])
    if version != 1 or record_size != 1 or len(data) != 16 + count:
        raise ReleaseError(f"{path}: version {version}, {record_size}-byte records, {count} deals "
                           f"do not match its {len(data)} bytes")
    if zlib.crc32(data[16:]) != checksum:
        raise ReleaseError(f"{path}: the checksum does not match")
    return data


def executable_version(exe, windres):
    """The version texts of the executable's version resource."""
    dump = subprocess.run([windres, "-J", "coff", "-O", "rc", "-i", exe],
                          capture_output=True, text=True, encoding="latin-1")
    if dump.returncode != 0:
        raise ReleaseError(f"{windres} cannot read the resources of {exe}: {dump.stderr.strip()}")
    return set(re.findall(r'VALUE "(?:File|Product)Version", "([^"]*)"', dump.stdout))


def write_zip(path, entries, epoch):
    """Entries are (name, bytes); a name ending in "/" is a folder."""
    stamp = time.gmtime(max(epoch, ZIP_EPOCH))[:6]
    with zipfile.ZipFile(path, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 0  # MS-DOS: plain Windows files, no Unix modes
            if name.endswith("/"):
                info.compress_type = zipfile.ZIP_STORED
                info.external_attr = 0x10  # the MS-DOS directory attribute
                archive.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                info.external_attr = 0
                archive.writestr(info, data, compresslevel=9)


def read_program(path, version, windres):
    found = executable_version(path, windres)
    if found != {version}:
        raise ReleaseError(f"{path} says version {sorted(found)}, the release is {version}")
    with open(path, "rb") as program:
        return program.read()


def make_release(exe, game, version, out_dir, windres, epoch, deals=DEALS):
    entries = [("Tallykeep.exe", read_program(exe, version, windres)),
               ("Tallykeep.txt", manual_bytes(version)),
               ("LICENSE.txt", licence_bytes()),
               (DEALS_NAME, deals_bytes(deals)),
               (f"{GAME_FOLDER}/", b""),
               (f"{GAME_FOLDER}/FREECELL.EXE", read_program(game, version, windres))]
    os.makedirs(out_dir, exist_ok=True)
    name = f"Tallykeep-{version}.zip"
    path = os.path.join(out_dir, name)
    write_zip(path, entries, epoch)
    with open(path, "rb") as archive:
        digest = hashlib.sha256(archive.read()).hexdigest()
    with open(os.path.join(out_dir, "SHA256SUMS"), "w", encoding="ascii", newline="\n") as sums:
        sums.write(f"{digest}  {name}\n")
    return path, digest


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--game", required=True, help="the shipped game's FREECELL.EXE")
    parser.add_argument("--version", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--deals", default=DEALS, help="the deals' table (default data/deals.tkd)")
    parser.add_argument("--windres", default="i686-w64-mingw32-windres")
    parser.add_argument("--epoch", type=int, default=int(os.environ.get("SOURCE_DATE_EPOCH", ZIP_EPOCH)),
                        help="time stamp of the entries, seconds since 1970 (default SOURCE_DATE_EPOCH)")
    args = parser.parse_args(argv)
    try:
        path, digest = make_release(args.exe, args.game, args.version, args.out, args.windres, args.epoch,
                                    args.deals)
    except ReleaseError as error:
        print(f"make_release: {error}", file=sys.stderr)
        return 1
    print(f"{path}: {os.path.getsize(path)} bytes, sha256 {digest}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
