#!/usr/bin/env python3
"""Extracts the manufacturer PPDs of the openprinting-ppds driver program into a
folder, reading its compressed archive once (the program's own `cat` inflates
the whole archive for every file).

usage: extract_ppds.py [--driver PATH] OUTDIR

Writes OUTDIR/<maker>/<name>.ppd for every PPD and OUTDIR/index.txt (the
relative paths, sorted, one a line) last, so an existing index.txt means a
complete extraction; with one present nothing is done."""
import argparse
import base64
import importlib.machinery
import importlib.util
import lzma
import os
import sys

DEFAULT_DRIVER = "/usr/lib/cups/driver/openprinting-ppds"
PREFIX = "0/ppd/openprinting/"


def load_driver(path):
    # The driver program is a Python script without a .py suffix; its main code
    # runs only as __main__, so loading it only defines its archive and helpers.
    loader = importlib.machinery.SourceFileLoader("openprinting_ppds", path)
    spec = importlib.util.spec_from_loader(loader.name, loader)
    module = importlib.util.module_from_spec(spec)
    loader.exec_module(module)
    return module


def relative_path(key):
    name = key[len(PREFIX):] if key.startswith(PREFIX) else key.split("/", 1)[-1]
    parts = [p for p in name.split("/") if p not in ("", ".", "..")]
    return os.path.join(*parts)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--driver", default=DEFAULT_DRIVER)
    parser.add_argument("outdir")
    args = parser.parse_args()

    index_path = os.path.join(args.outdir, "index.txt")
    if os.path.exists(index_path):
        return 0
    if not os.path.exists(args.driver):
        print(f"extract_ppds: {args.driver} not found (package openprinting-ppds)", file=sys.stderr)
        return 1

    driver = load_driver(args.driver)
    table = driver.load()  # key -> [start, length, list lines]; "ARCHIVE" -> base64 xz
    archive = lzma.decompress(base64.b64decode(table.pop("ARCHIVE").encode("ascii")))

    written = []
    for key, entry in table.items():
        start, length = entry[0], entry[1]
        rel = relative_path(key)
        path = os.path.join(args.outdir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(archive[start:start + length])
        written.append(rel)

    written.sort()
    with open(index_path + ".tmp", "w") as index:
        index.write("".join(rel + "\n" for rel in written))
    os.replace(index_path + ".tmp", index_path)
    print(f"extract_ppds: {len(written)} PPDs in {args.outdir}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
