#!/usr/bin/env python3
"""Reads an exported CSV file as a spreadsheet program would, with Python's csv module, and
writes its rows as JSON for the test to compare with the list. Checks the UTF-8 byte-order
mark and CRLF line ends on the way; exits 1 with the reason when either is wrong."""
import csv
import json
import sys


def main(source, target):
    with open(source, "rb") as f:
        raw = f.read()
    if not raw.startswith(b"\xef\xbb\xbf"):
        sys.exit("no UTF-8 byte-order mark")
    if raw.count(b"\n") != raw.count(b"\r\n") or not raw.endswith(b"\r\n"):
        sys.exit("a line does not end with CRLF")
    with open(source, newline="", encoding="utf-8-sig") as f:
        rows = list(csv.reader(f, strict=True))
    with open(target, "w", encoding="utf-8") as f:
        json.dump(rows, f, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
