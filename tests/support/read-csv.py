#!/usr/bin/env python3
"""Reads a CSV table with Python's csv module, as a script would:
read-csv.py FILE DELIMITER. Prints a JSON object: "rows" (the fields of every
line; a UTF-8 byte-order mark is dropped), "byteOrderMark" (whether the file
begins with one) and "lineEnd" ("\\r\\n" or "\\n" when every line ends so,
else "mixed")."""
import csv
import json
import sys

with open(sys.argv[1], "rb") as f:
    raw = f.read()
lines = raw.count(b"\n")
if raw.count(b"\r\n") == lines:
    end = "\r\n"
elif b"\r" not in raw:
    end = "\n"
else:
    end = "mixed"
with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    rows = list(csv.reader(f, delimiter=sys.argv[2], strict=True))
print(json.dumps({"rows": rows, "byteOrderMark": raw.startswith(b"\xef\xbb\xbf"), "lineEnd": end}))
