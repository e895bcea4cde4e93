"""The package check on broken copies of a built package: each fault must fail
the check with its own message, and the intact copy must pass.

Usage: check_package_test.py PACKAGE_DIR --flavour F --version V --arch A
(A is the architecture built here, whose files the cases break.)
"""

import argparse
import contextlib
import io
import os
import re
import shutil
import struct
import sys
import tempfile
import unittest

from check_package import ARCHS, PLUGIN_FILE, run

ARGS = None
PE_MACHINE = {"amd64": 0x8664, "x86": 0x14C}


def inf_path(package):
    return os.path.join(package, next(n for n in os.listdir(package) if n.endswith(".inf")))


def ini_path(package):
    return os.path.join(package, next(n for n in os.listdir(package) if n.endswith(".ini")))


def dll_path(package):
    return os.path.join(package, ARCHS[ARGS.arch]["folder"], PLUGIN_FILE)


def edit(path, pattern, replacement):
    with open(path, "r", newline="") as f:
        text = f.read()
    changed = re.sub(pattern, replacement, text, flags=re.MULTILINE | re.IGNORECASE)
    assert changed != text, f"{pattern} not found in {path}"
    with open(path, "w", newline="") as f:
        f.write(changed)


def patch_pe(path, offset_in_optional_header, value):
    """Writes a 16-bit value into the DLL's headers, at an offset from its
    optional header (-20: the machine, 48: the major subsystem version)."""
    with open(path, "r+b") as f:
        data = f.read()
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        f.seek(pe + 24 + offset_in_optional_header)
        f.write(struct.pack("<H", value))


def other_arch():
    return next(a for a in ARCHS if a != ARGS.arch)


def other_flavour_decoration(package):
    if ARGS.flavour == "later":
        edit(inf_path(package), r"(NT(amd64|x86))\.6\.0", r"\1")
    else:
        edit(inf_path(package), r"(NT(amd64|x86))\b(?!\.)", r"\1.6.0")


def undecorated_models(package):
    edit(inf_path(package), r"^(%Maker%=Models),.*$", r"\1")
    edit(inf_path(package), r"^\[Models\.NT[^\]]*\]", "[Models]")


# (name, how the copy is broken, the failure the check must report)
CASES = [
    ("missing configuration file", lambda p: os.remove(ini_path(p)),
     r"FAIL  \w+: \S+\.ini in the package: missing at"),
    ("missing DLL", lambda p: os.remove(dll_path(p)),
     r"FAIL  \w+: vornik\.dll in the package: missing at"),
    ("wrong architecture's DLL",
     lambda p: patch_pe(dll_path(p), -20, PE_MACHINE[other_arch()]),
     r"FAIL  \w+/vornik\.dll: machine type"),
    ("wrong flavour's DLL",
     lambda p: patch_pe(dll_path(p), 48, 5 if ARGS.flavour == "later" else 6),
     r"FAIL  \w+/vornik\.dll: subsystem version"),
    ("undecorated models section", undecorated_models,
     r"FAIL  \[Manufacturer\] offers a models section decorated for NTamd64"),
    ("the other flavour's system versions", other_flavour_decoration,
     r"FAIL  NTamd64 models offered from system"),
    ("another DriverVer version",
     lambda p: edit(inf_path(p), r"^(DriverVer=[^,]*),.*$", r"\1,1.0.0.0"),
     r"FAIL  \[Version\] DriverVer version"),
    ("no Include", lambda p: edit(inf_path(p), r"^Include=.*$", ""),
     r"FAIL  \w+: \[\w+\] Include=NTPRINT\.INF"),
    ("another destination",
     lambda p: edit(inf_path(p), r"^DefaultDestDir=66000", "DefaultDestDir=11"),
     r"FAIL  \[DestinationDirs\] DefaultDestDir=66000"),
    ("a string missing", lambda p: edit(inf_path(p), r"^Model=.*$", ""),
     r"FAIL  INF reads without errors: line \d+: %Model% is not in \[Strings\]"),
    ("spaces around '=' in the .ini",
     lambda p: edit(ini_path(p), r"^OEMConfigFile1=", "OEMConfigFile1 = "),
     r"FAIL  \w+: \S+\.ini line \d+: no spaces around '='"),
    ("UI plug-in counted from 2",
     lambda p: edit(ini_path(p), r"^OEMConfigFile1=", "OEMConfigFile2="),
     r"FAIL  \w+: \S+\.ini: OEMConfigFileN counts from 1 without gaps"),
]


class BrokenPackages(unittest.TestCase):
    def check(self, break_copy):
        with tempfile.TemporaryDirectory() as temp:
            copy = os.path.join(temp, os.path.basename(ARGS.package))
            shutil.copytree(ARGS.package, copy)
            if break_copy:
                break_copy(copy)
            output = io.StringIO()
            with contextlib.redirect_stdout(output):
                failed = run(copy, ARGS.flavour, ARGS.version, [ARGS.arch])
            return failed, output.getvalue()

    def test_intact_copy_passes(self):
        failed, output = self.check(None)
        self.assertEqual(failed, 0, output)

    def test_each_fault_fails_the_check(self):
        for name, break_copy, failure in CASES:
            with self.subTest(name):
                failed, output = self.check(break_copy)
                self.assertGreater(failed, 0, output)
                self.assertRegex(output, failure)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("package")
    parser.add_argument("--flavour", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--arch", choices=ARCHS, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)
