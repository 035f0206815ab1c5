#!/usr/bin/env python3
"""Folds the lines of settle_fewest (scripts/deal-table.sh --settle) into the
committed deals' table, and lists the deals the table still leaves open.

  fold_settled.py --table data/deals.tkd --open 32000
      prints the deals of 1..32000 won with four cells whose fewest cells are
      unknown (code 6), then the deals of the whole table not decided with
      four cells, one a line: "<deal> fewest" or "<deal> four"
  fold_settled.py --table data/deals.tkd FILE...
      writes each settled deal's answer into the table (its moves band kept
      where it has one), rewrites the CRC-32, and prints the counts by level
      of 1..32000
  fold_settled.py --table data/deals.tkd --report FILE...
      what settled the deals (the complete search or which preset), by
      level, and the processor time the lines took

A line reads "<deal> <cells> <how> ...": cells 0..4 (the fewest free
cells), "won" with a "moves=<n>" field (won with four cells, from an
undecided deal), "no" (cannot be won with four cells), or "open" (no answer:
the table keeps what it had)."""
import argparse
import collections
import pathlib
import struct
import sys
import zlib

HEADER = 16
CANNOT_BE_WON = 5
FEWEST_UNKNOWN = 6
UNKNOWN = 7
FEWEST_TO = 32000


def read_table(path):
    data = pathlib.Path(path).read_bytes()
    magic, version, size, count, crc = struct.unpack("<4sHHII", data[:HEADER])
    body = bytearray(data[HEADER:])
    if magic != b"TKDT" or version != 1 or size != 1 or len(body) != count or zlib.crc32(body) != crc:
        sys.exit(f"fold_settled: {path} is not a whole deals' table")
    return body


def write_table(path, body):
    header = b"TKDT" + struct.pack("<HHII", 1, 1, len(body), zlib.crc32(body) & 0xFFFFFFFF)
    part = pathlib.Path(str(path) + ".part")
    part.write_bytes(header + bytes(body))
    part.replace(path)


def band(moves):
    return min(31, (moves + 7) // 8)


def fold(body, line):
    fields = line.split()
    deal, cells = int(fields[0]), fields[1]
    old = body[deal - 1]
    if cells in ("0", "1", "2", "3", "4"):
        if old & 7 not in (FEWEST_UNKNOWN, int(cells)):
            sys.exit(f"fold_settled: deal {deal} is not open in the table (byte {old})")
        body[deal - 1] = (old & 0xF8) | int(cells)
    elif cells == "won":
        moves = int(next(f for f in fields if f.startswith("moves="))[6:])
        body[deal - 1] = FEWEST_UNKNOWN | band(moves) << 3
    elif cells == "no":
        body[deal - 1] = CANNOT_BE_WON
    elif cells != "open":
        sys.exit(f"fold_settled: unknown answer in {line!r}")


def report(files):
    by_how = collections.Counter()
    by_level = collections.Counter()
    cpu = 0.0
    lines = 0
    final = {}
    for path in files:
        for line in pathlib.Path(path).read_text().splitlines():
            fields = line.split()
            if not fields:
                continue
            lines += 1
            cpu += float(next(f for f in fields if f.startswith("cpu="))[4:])
            final[int(fields[0])] = fields
    for fields in final.values():
        by_level[fields[1]] += 1
        if fields[1] != "open":
            by_how[fields[2]] += 1
    print(f"fold_settled: {lines} lines for {len(final)} deals, processor time {cpu:.0f} s")
    print("  by answer:", ", ".join(f"{k} {v}" for k, v in sorted(by_level.items())))
    print("  settled by:", ", ".join(f"{k} {v}" for k, v in by_how.most_common()))
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--table", required=True)
    parser.add_argument("--open", type=int, metavar="N")
    parser.add_argument("--report", action="store_true")
    parser.add_argument("files", nargs="*")
    args = parser.parse_args()
    body = read_table(args.table)
    if args.open:
        for deal in range(1, min(args.open, len(body)) + 1):
            if body[deal - 1] & 7 == FEWEST_UNKNOWN:
                print(deal, "fewest")
        for deal in range(1, len(body) + 1):
            if body[deal - 1] == UNKNOWN | 1 << 3:
                print(deal, "four")
        return 0
    if args.report:
        return report(args.files)
    for path in args.files:
        for line in pathlib.Path(path).read_text().splitlines():
            if line.strip():
                fold(body, line)
    write_table(args.table, body)
    levels = collections.Counter(b & 7 for b in body[:FEWEST_TO])
    undecided = sum(1 for b in body if b == UNKNOWN | 1 << 3)
    print(f"fold_settled: 1..{FEWEST_TO}: " + ", ".join(f"{k} cells {levels[k]}" for k in range(5)) +
          f", cannot be won {levels[CANNOT_BE_WON]}, fewest unknown {levels[FEWEST_UNKNOWN]};"
          f" undecided in the table: {undecided}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
