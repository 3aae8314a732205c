#!/usr/bin/env python3
"""Runs sorvane-search over mutants of real workbooks and counts what ends badly.

    scripts/mutation_run.py SORVANE_SEARCH FIXTURE_DIR COUNT [--keep DIR] [--seed N]

Makes COUNT mutants spread over the .xlsx, .xls and .csv files under FIXTURE_DIR: raw byte
flips, field overwrites with boundary values, truncations, and for .xlsx members mutated
inside the archive and zipped again, so the damage reaches the XML. Each mutant is searched
alone, under `timeout 20` and `prlimit --as=2000000000`, with a rotating look-in and word.
The formats take turns. A signal, a time-out or an exit status other than 0, 1 or 2 is a
failure; those mutants are
kept under --keep. Prints the counts; exits 1 when anything failed.
"""
import argparse
import io
import multiprocessing
import os
import random
import shutil
import subprocess
import sys
import tempfile
import zipfile

BOUNDARY = [b"\x00\x00", b"\xff\xff", b"\xff\xff\xff\xff", b"\x00\x00\x00\x80", b"\xfe\xff\xff\x7f",
            b"\x00\x40", b"\x01\x00\x00\x00"]
XML_EDITS = [b'r="XFD1048576"', b'r="A1048577"', b'<c r="A1" t="s"><v>99999</v></c>',
             b"&#x0;", b"&amp", b"<![CDATA[", b"<!--", b" " * 70000, b"<f t=\"shared\" si=\"0\"/>",
             b"_x001B_[31m", b"\xff\xfe", b"<row r=\"0\">", b'<c r="A1" t="e"><v>#N/A</v></c>']


def mutate_bytes(data, rng):
    data = bytearray(data)
    kind = rng.randrange(4)
    if kind == 0 and data:  # flip a few bytes
        for _ in range(rng.randint(1, 16)):
            data[rng.randrange(len(data))] = rng.randrange(256)
    elif kind == 1 and len(data) > 4:  # overwrite a field with a boundary value
        for _ in range(rng.randint(1, 4)):
            value = rng.choice(BOUNDARY)
            at = rng.randrange(max(1, len(data) - len(value)))
            data[at:at + len(value)] = value
    elif kind == 2 and data:  # truncate
        del data[rng.randrange(len(data)):]
    elif data:  # duplicate or delete a span
        a = rng.randrange(len(data))
        b = min(len(data), a + rng.randint(1, 4096))
        if rng.random() < 0.5:
            data[a:a] = data[a:b] * rng.randint(1, 8)
        else:
            del data[a:b]
    return bytes(data)


def mutate_xlsx(data, rng):
    try:
        source = zipfile.ZipFile(io.BytesIO(data))
        members = [(info, source.read(info)) for info in source.infolist()]
    except Exception:
        return mutate_bytes(data, rng)
    if rng.random() < 0.3:
        return mutate_bytes(data, rng)
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as target:
        victims = rng.sample(range(len(members)), k=min(len(members), rng.randint(1, 2)))
        for index, (info, content) in enumerate(members):
            if index in victims:
                if rng.random() < 0.15:
                    continue  # a missing part
                if rng.random() < 0.5 and content:
                    at = rng.randrange(len(content))
                    content = content[:at] + rng.choice(XML_EDITS) + content[at:]
                else:
                    content = mutate_bytes(content, rng)
            target.writestr(info.filename, content)
    return out.getvalue()


def mutate_csv(data, rng):
    if rng.random() < 0.5:
        return mutate_bytes(data, rng)
    edits = [b'"', b'=A1&A1&A1', b"=1/0", b"\r", b"\x00", b"=" + b"(" * 500, b'"' + b"x" * 40000,
             b"," * 20000, b"=SUM(A1:A3)", b"\xef\xbb\xbf", b"\x1b[2J"]
    at = rng.randrange(len(data) + 1)
    return data[:at] + rng.choice(edits) + data[at:]


def make(args):
    index, path, seed, work = args
    rng = random.Random(seed * 1_000_003 + index)
    with open(path, "rb") as f:
        data = f.read()
    ext = os.path.splitext(path)[1].lower()
    mutant = {".xlsx": mutate_xlsx, ".csv": mutate_csv}.get(ext, mutate_bytes)(data, rng)
    folder = os.path.join(work, str(index))
    os.makedirs(folder)
    target = os.path.join(folder, "m" + ext)
    with open(target, "wb") as f:
        f.write(mutant)
    look_in = ["formulas", "values", "comments"][index % 3]
    word = ["a", "*", "1", "e"][index % 4]
    command = ["timeout", "20", "prlimit", "--as=2000000000", args_binary, "-k", "--look-in",
               look_in, "--", folder, word]
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    code = result.returncode
    outcome = "exit%d" % code if code in (0, 1, 2) else "timeout" if code == 124 else "signal" if (
        code < 0 or code > 128) else "exit%d" % code
    if code in (0, 1, 2):
        shutil.rmtree(folder)
    return index, path, outcome, code, result.stderr[-300:]


def init(binary):
    global args_binary
    args_binary = binary


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("binary")
    parser.add_argument("fixtures")
    parser.add_argument("count", type=int)
    parser.add_argument("--keep", default=None)
    parser.add_argument("--seed", type=int, default=1)
    options = parser.parse_args()
    files = sorted(os.path.join(root, name) for root, _, names in os.walk(options.fixtures)
                   for name in names if name.lower().endswith((".xlsx", ".xls", ".csv")))
    work = options.keep or tempfile.mkdtemp(prefix="mutants-")
    os.makedirs(work, exist_ok=True)
    by_format = [[f for f in files if f.lower().endswith(ext)] for ext in (".xlsx", ".xls", ".csv")]
    by_format = [group for group in by_format if group]
    jobs = [(i, by_format[i % len(by_format)][(i // len(by_format)) % len(by_format[i % len(by_format)])],
             options.seed, work) for i in range(options.count)]
    counts, per_format = {}, {}
    failures = []
    with multiprocessing.Pool(2, initializer=init, initargs=(os.path.abspath(options.binary),)) as pool:
        for index, path, outcome, code, err in pool.imap_unordered(make, jobs, chunksize=4):
            counts[outcome] = counts.get(outcome, 0) + 1
            ext = os.path.splitext(path)[1].lower()
            per_format[ext] = per_format.get(ext, 0) + 1
            if not outcome.startswith("exit") or code not in (0, 1, 2):
                failures.append((index, path, outcome, code, err))
    print("mutants:", options.count, "by format:", dict(sorted(per_format.items())))
    print("outcomes:", dict(sorted(counts.items())))
    for index, path, outcome, code, err in sorted(failures):
        print("FAIL", index, outcome, code, path, err.decode(errors="replace").strip()[-200:])
    if not options.keep:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
