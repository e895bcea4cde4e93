"""Static checks of a built vornik.dll: machine, header versions, exports,
imports and resources.
Usage: check_dll.py DLL --arch x64|x86 --flavour later|earlier --version A.B.C.D
Prints one line per check and a closing 'N passed, N failed' line."""

import argparse
import struct
import sys
import xml.etree.ElementTree as ET

from pe_file import PeFile

RT_VERSION, RT_MANIFEST = 16, 24
LANG_EN_US = 1033
MACHINES = {"x64": 0x8664, "x86": 0x14C}
MANIFEST_ARCH = {"x64": "AMD64", "x86": "x86"}
HEADER_VERSION = {"later": (6, 0), "earlier": (5, 2)}
# System libraries the DLL may import; everything else (mingw runtime DLLs,
# and comctl32/msimg32, which are loaded at run time) is refused.
ALLOWED_IMPORTS = {"kernel32.dll", "user32.dll", "gdi32.dll", "winspool.drv", "msvcrt.dll",
                   "advapi32.dll", "ole32.dll"}
ASM = "{urn:schemas-microsoft-com:asm.v1}"


class Checks:
    """Counts and prints checks; `prefix` names what the checks are about."""

    def __init__(self):
        self.passed = self.failed = 0
        self.prefix = ""

    def expect(self, ok, what, detail=""):
        if ok:
            self.passed += 1
            print(f"ok    {self.prefix}{what}")
        else:
            self.failed += 1
            print(f"FAIL  {self.prefix}{what}: {detail}")


def check_manifest(checks, text, arch):
    root = ET.fromstring(text)
    ident = root.find(f"{ASM}assemblyIdentity")
    checks.expect(ident is not None and ident.attrib == {
        "version": "1.0.0.0", "processorArchitecture": MANIFEST_ARCH[arch],
        "name": "Corvane.PrinterDriver.vornik", "type": "win32"},
        "manifest identity", ident.attrib if ident is not None else "missing")
    desc = root.find(f"{ASM}description")
    checks.expect(desc is not None and desc.text == "vornik", "manifest description")
    deps = root.findall(f"{ASM}dependency/{ASM}dependentAssembly/{ASM}assemblyIdentity")
    want = {"type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
            "processorArchitecture": MANIFEST_ARCH[arch], "publicKeyToken": "6595b64144ccf1df",
            "language": "*"}
    checks.expect(len(deps) == 1 and deps[0].attrib == want, "manifest common-controls dependency",
                  [d.attrib for d in deps])


def check_version(checks, block, version):
    sig = struct.pack("<I", 0xFEEF04BD)
    at = block.find(sig)
    checks.expect(at >= 0, "version resource has fixed file info")
    if at < 0:
        return
    fms, fls, pms, pls = struct.unpack_from("<IIII", block, at + 8)
    a, b, c, d = (int(part) for part in version.split("."))
    want = ((a << 16) | b, (c << 16) | d)
    checks.expect((fms, fls) == want, f"file version {version}", f"{fms:#x} {fls:#x}")
    checks.expect((pms, pls) == want, f"product version {version}", f"{pms:#x} {pls:#x}")
    text = block.decode("utf-16-le", errors="replace")
    checks.expect("vornik" in text, "version texts name the product")


def check_dll(checks, path, arch, flavour, version):
    """Every check of the DLL at `path` for this architecture and flavour."""
    try:
        pe = PeFile(path)
    except (OSError, ValueError) as error:
        checks.expect(False, "a readable PE file", error)
        return
    checks.expect(pe.machine == MACHINES[arch], "machine type", hex(pe.machine))
    checks.expect(pe.characteristics & 0x2000, "image is a DLL")
    want = HEADER_VERSION[flavour]
    checks.expect((pe.subsystem_major, pe.subsystem_minor) == want, f"subsystem version {want}",
                  (pe.subsystem_major, pe.subsystem_minor))
    checks.expect((pe.os_major, pe.os_minor) == want, f"OS version {want}",
                  (pe.os_major, pe.os_minor))
    checks.expect(pe.subsystem == 2, "Windows GUI subsystem", pe.subsystem)

    module, base, names, count = pe.exports()
    checks.expect(module == "vornik.dll", "export module name", module)
    checks.expect(names == {"DllCanUnloadNow": 1, "DllGetClassObject": 2} and count == 2,
                  "exports DllCanUnloadNow @1 and DllGetClassObject @2, undecorated", names)

    imports = [name.lower() for name in pe.imports()]
    unexpected = sorted(set(imports) - ALLOWED_IMPORTS)
    checks.expect(not unexpected, "imports only system libraries", unexpected)

    res = pe.resources()
    manifests = [k for k in res if k[0] == RT_MANIFEST]
    checks.expect(manifests == [(RT_MANIFEST, 2, LANG_EN_US)], "one manifest, id 2, language 1033",
                  manifests)
    if (RT_MANIFEST, 2, LANG_EN_US) in res:
        check_manifest(checks, res[(RT_MANIFEST, 2, LANG_EN_US)], arch)
    versions = [k for k in res if k[0] == RT_VERSION]
    checks.expect(len(versions) == 1, "one version resource", versions)
    if versions:
        check_version(checks, res[versions[0]], version)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("dll")
    parser.add_argument("--arch", choices=MACHINES, required=True)
    parser.add_argument("--flavour", choices=HEADER_VERSION, required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()

    checks = Checks()
    check_dll(checks, args.dll, args.arch, args.flavour, args.version)
    print(f"static: {checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
