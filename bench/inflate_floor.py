#!/usr/bin/env python3
"""The decompression floor of the benchmark: inflates every member of every .xlsx under
FOLDER with zlib and prints the total inflated bytes. No parsing, no matching."""
import os
import sys
import zipfile
import zlib

total = 0
for root, dirs, files in os.walk(sys.argv[1]):
    dirs[:] = [d for d in dirs if not d.startswith(".")]
    for name in files:
        if name.startswith(".") or not name.lower().endswith(".xlsx"):
            continue
        with zipfile.ZipFile(os.path.join(root, name)) as z:
            for info in z.infolist():
                with z.open(info) as member:
                    while True:
                        chunk = member.read(1 << 20)
                        if not chunk:
                            break
                        total += len(chunk)
print(total)
