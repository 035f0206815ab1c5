#!/usr/bin/env python3
"""Packs the solver's lines ("<deal> <cells> <moves>", from deal_table_solve)
into the deals' table file described in docs/deal-table.md.

Each argument is a folder of *.txt files; a deal found in a later folder
replaces what an earlier one said. Deals without a line are written as not
yet examined."""
import argparse
import collections
import pathlib
import struct
import sys
import zlib

MAGIC = b"TKDT"
VERSION = 1
CANNOT_BE_WON = 5
FEWEST_UNKNOWN = 6
UNKNOWN = 7
UNDECIDED_FLAG = 1  # length field of an unknown deal: examined, no answer


def length_bin(moves):
    """1..31: moves 1-8, 9-16, ..., 241 and more."""
    return min(31, (moves + 7) // 8)


def record(cells, moves):
    if cells in ("0", "1", "2", "3", "4"):
        return int(cells) | length_bin(moves) << 3
    if cells == "won":
        return FEWEST_UNKNOWN | length_bin(moves) << 3
    if cells == "no":
        return CANNOT_BE_WON
    if cells == "undecided":
        return UNKNOWN | UNDECIDED_FLAG << 3
    raise ValueError(f"unknown answer {cells!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int)
    parser.add_argument("--out")
    parser.add_argument("--open", action="store_true",
                        help="only list the deals left open: fewest cells sought and not found, or undecided")
    parser.add_argument("--limit", type=int, default=None, help="list at most this many")
    parser.add_argument("folders", nargs="+")
    args = parser.parse_args()

    answers = {}
    fewest_sought = set()  # deals of the fewest-cell chunks and their retries
    for folder in args.folders:
        for path in sorted(pathlib.Path(folder).glob("*.txt")):
            for line in path.read_text().splitlines():
                deal, cells, moves = line.split()
                answers[int(deal)] = (cells, int(moves))
                if pathlib.Path(folder).name != "four":
                    fewest_sought.add(int(deal))
    if args.open:
        # Undecided first: they lack even whether they can be won.
        open_deals = [deal for deal in sorted(answers) if answers[deal][0] == "undecided"]
        open_deals += [deal for deal in sorted(answers) if answers[deal][0] == "won" and deal in fewest_sought]
        print("\n".join(map(str, open_deals[:args.limit])))
        return 0
    if not args.count or not args.out:
        parser.error("--count and --out are needed")

    body = bytearray([UNKNOWN]) * args.count
    for deal, (cells, moves) in answers.items():
        if 1 <= deal <= args.count:
            body[deal - 1] = record(cells, moves)

    header = MAGIC + struct.pack("<HHII", VERSION, 1, args.count, zlib.crc32(body) & 0xFFFFFFFF)
    pathlib.Path(args.out).write_bytes(header + bytes(body))

    codes = collections.Counter(b & 7 for b in body)
    names = ["0 cells", "1 cell", "2 cells", "3 cells", "4 cells", "cannot be won", "won, fewest unknown"]
    summary = ", ".join(f"{names[c]}: {codes[c]}" for c in range(7))
    examined_undecided = sum(1 for b in body if b == UNKNOWN | UNDECIDED_FLAG << 3)
    not_examined = sum(1 for b in body if b == UNKNOWN)
    print(f"pack_table: {args.out}, {len(header) + len(body)} bytes; {summary}; "
          f"undecided: {examined_undecided}; not examined: {not_examined}")
    lost = [i + 1 for i, b in enumerate(body) if b == CANNOT_BE_WON]
    print("pack_table: cannot be won:", " ".join(map(str, lost)) or "none")
    return 0


if __name__ == "__main__":
    sys.exit(main())
