"""Checks a built driver package: its INF read as the setup API reads it, the
plug-in's configuration file, and every file the INF installs for each
architecture, the DLLs with the static DLL checks.

Usage: check_package.py PACKAGE_DIR --flavour later|earlier --version A.B.C.D
                        [--require amd64|x86]...
The package offers both architectures; a required one must be built, the
other is checked when its folder is there. Prints one line per check and a
closing 'N passed, N failed' line; the exit status is 1 on any failure.
"""

import argparse
import datetime
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "static"))

from check_dll import Checks, check_dll  # noqa: E402
from inf_file import InfFile, decode  # noqa: E402

PRINTER_CLASS_GUID = "{4D36E979-E325-11CE-BFC1-08002BE10318}"
PRINTER_DRIVER_DIR = "66000"
# Architecture: its INF decoration, its folder in the package and its name
# in the static DLL checks.
ARCHS = {
    "amd64": {"decoration": "NTamd64", "folder": "amd64", "dll_arch": "x64"},
    "x86": {"decoration": "NTx86", "folder": "x86", "dll_arch": "x86"},
}
# The oldest system version each flavour's models are offered to.
OFFERED_FROM = {"later": (6, 0), "earlier": (0, 0)}
CORE_DRIVER_NEEDS = ("PSCRIPT.OEM", "PSCRIPT_DATA")
PLUGIN_KINDS = ("OEMConfigFile", "OEMDriverFile")
PLUGIN_KEY = re.compile(r"^(OEMConfigFile|OEMDriverFile)(\d+)$", re.IGNORECASE)
PLUGIN_FILE = "vornik.dll"


def is_token(text):
    return len(text) > 2 and text.startswith("%") and text.endswith("%")


def parse_decoration(text):
    """(architecture, (major, minor)) of 'NT<arch>[.major[.minor[...]]]', or None."""
    parts = text.split(".")
    arch = next((a for a, facts in ARCHS.items()
                 if parts[0].lower() == facts["decoration"].lower()), None)
    if arch is None:
        return None
    numbers = [int(p) if p.isdigit() else 0 for p in parts[1:3]] + [0, 0]
    return arch, (numbers[0], numbers[1])


def check_text(checks, inf):
    checks.expect(inf.encoding in ("ascii", "utf-16"), "INF text is ASCII or UTF-16 with its mark",
                  inf.encoding)
    checks.expect(not inf.errors, "INF reads without errors", "; ".join(inf.errors))


def check_version_section(checks, inf, version):
    section = "Version"
    checks.expect(inf.value(section, "Signature").lower() == "$windows nt$",
                  "[Version] Signature=\"$Windows NT$\"", inf.value(section, "Signature"))
    checks.expect(inf.value(section, "Class").lower() == "printer", "[Version] Class=Printer",
                  inf.value(section, "Class"))
    checks.expect(inf.value(section, "ClassGUID").upper() == PRINTER_CLASS_GUID,
                  "[Version] ClassGUID of the printer class", inf.value(section, "ClassGUID"))
    provider = inf.find(section, "Provider")
    checks.expect(provider is not None and is_token(provider.raw_fields[0]),
                  "[Version] Provider from [Strings]",
                  provider.raw_fields if provider else "missing")
    driver_ver = inf.find(section, "DriverVer")
    fields = driver_ver.fields if driver_ver else []
    try:
        datetime.datetime.strptime(fields[0], "%m/%d/%Y")
        dated = len(fields[0]) == 10
    except (IndexError, ValueError):
        dated = False
    checks.expect(dated, "[Version] DriverVer date MM/DD/YYYY", fields)
    checks.expect(fields[1:2] == [version], f"[Version] DriverVer version {version}", fields)
    checks.expect(inf.value(section, "CatalogFile").lower().endswith(".cat"),
                  "[Version] CatalogFile names a catalogue", inf.value(section, "CatalogFile"))


def models_sections(checks, inf, flavour):
    """{arch: [models section names]} from [Manufacturer], decorations checked."""
    found = {arch: [] for arch in ARCHS}
    oldest = {arch: None for arch in ARCHS}
    lines = inf.lines("Manufacturer")
    checks.expect(lines, "[Manufacturer] names a maker")
    for line in lines:
        checks.expect(line.raw_key is not None and is_token(line.raw_key),
                      f"[Manufacturer] maker name from [Strings] (line {line.number})",
                      line.raw_key)
        models = line.field(0)
        for decoration in line.fields[1:]:
            parsed = parse_decoration(decoration)
            if parsed is None:
                continue
            arch, system = parsed
            section = f"{models}.{decoration}"
            checks.expect(inf.has_section(section) and inf.lines(section),
                          f"models section [{section}] present with models", "missing or empty")
            found[arch].append(section)
            oldest[arch] = system if oldest[arch] is None else min(oldest[arch], system)
    for arch, facts in ARCHS.items():
        checks.expect(found[arch], f"[Manufacturer] offers a models section decorated for "
                      f"{facts['decoration']}", [line.fields for line in lines])
        want = OFFERED_FROM[flavour]
        checks.expect(oldest[arch] is None or oldest[arch] == want,
                      f"{facts['decoration']} models offered from system {want[0]}.{want[1]} on",
                      oldest[arch])
    return found


def models(checks, inf, sections):
    """{model name: install section} over the given models sections."""
    result = {}
    for section in sections:
        for line in inf.lines(section):
            where = f"[{section}] line {line.number}"
            checks.expect(line.raw_key is not None and is_token(line.raw_key),
                          f"{where}: model name from [Strings]", line.raw_key)
            checks.expect(line.field(0) and line.field(1),
                          f"{where}: install section and hardware id", line.fields)
            if line.key:
                result[line.key] = line.field(0)
    return result


def actual_install_section(inf, name, arch):
    """The section the setup API installs for this architecture."""
    for candidate in (f"{name}.{ARCHS[arch]['decoration']}", f"{name}.NT", name):
        if inf.has_section(candidate):
            return candidate
    return None


def copied_files(checks, inf, section):
    """The destination file names of the install section's CopyFiles."""
    files = []
    copy = inf.find(section, "CopyFiles")
    checks.expect(copy is not None, f"[{section}] CopyFiles")
    for entry in copy.fields if copy else []:
        if entry.startswith("@"):
            files.append(entry[1:])
            continue
        checks.expect(inf.has_section(entry), f"[{section}] file list [{entry}] present")
        for line in inf.lines(entry):
            checks.expect(line.key is None and not any(line.fields[1:3]),
                          f"[{entry}] line {line.number}: destination name only", line.raw_value)
            files.append(line.field(0))
        own = inf.value("DestinationDirs", entry)
        checks.expect(own in ("", PRINTER_DRIVER_DIR),
                      f"[DestinationDirs] {entry}={PRINTER_DRIVER_DIR}", own)
    return files


def check_install_section(checks, inf, section):
    """(copied files, data file) of a model's install section, its keys checked."""
    files = copied_files(checks, inf, section)
    data_file = inf.value(section, "DataFile")
    checks.expect(data_file and data_file.lower() in (f.lower() for f in files),
                  f"[{section}] DataFile among the copied files", data_file)
    checks.expect(inf.value(section, "DataSection").upper() == "PSCRIPT_DATA",
                  f"[{section}] DataSection=PSCRIPT_DATA", inf.value(section, "DataSection"))
    include = inf.find(section, "Include")
    checks.expect(include and "NTPRINT.INF" in (f.upper() for f in include.fields),
                  f"[{section}] Include=NTPRINT.INF", include.fields if include else "missing")
    needs = inf.find(section, "Needs")
    have = [f.upper() for f in needs.fields] if needs else []
    checks.expect(all(n in have for n in CORE_DRIVER_NEEDS),
                  f"[{section}] Needs={','.join(CORE_DRIVER_NEEDS)}", have)
    return files, data_file


def find_in(folder, relative):
    """The path of `relative` ('\\' or '/' separated) under `folder`, its parts
    matched without regard to case as the platform does, or None."""
    path = folder
    for part in relative.replace("\\", "/").split("/"):
        if part in ("", "."):
            continue
        try:
            names = os.listdir(path)
        except OSError:
            return None
        match = next((n for n in names if n.lower() == part.lower()), None)
        if match is None:
            return None
        path = os.path.join(path, match)
    return path


def find_decorated(inf, section, arch, key):
    """The key's line in the architecture's decorated section, else in the plain one."""
    return inf.find(f"{section}.{arch}", key) or inf.find(section, key)


def source_path(inf, package, arch, name):
    """(path or None, what is wrong) of a file's source for an architecture,
    from [SourceDisksFiles] and [SourceDisksNames]."""
    entry = find_decorated(inf, "SourceDisksFiles", arch, name)
    if entry is None:
        return None, "not in [SourceDisksFiles]"
    disk = find_decorated(inf, "SourceDisksNames", arch, entry.field(0))
    if disk is None:
        return None, f"disk {entry.field(0)} not in [SourceDisksNames]"
    relative = "/".join(p for p in (disk.field(3), entry.field(1), name) if p)
    path = find_in(package, relative)
    if path is None or not os.path.isfile(path):
        return None, f"missing at {relative}"
    return path, ""


def check_source_disks(checks, inf):
    for section in ("SourceDisksNames", *(f"SourceDisksNames.{a}" for a in ARCHS)):
        for line in inf.lines(section):
            checks.expect(is_token(line.raw_fields[0]),
                          f"[{section}] disk {line.key}: description from [Strings]",
                          line.raw_fields[0])


def read_plugin_ini(checks, path):
    """{kind: [file, ...]} of the configuration file's [OEMFiles], checked."""
    with open(path, "rb") as f:
        text, encoding = decode(f.read())
    name = os.path.basename(path)
    checks.expect(encoding in ("ascii", "utf-16"), f"{name}: ASCII or UTF-16 text", encoding)
    section, entries = None, []
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("["):
            section = line.strip()[1:-1].strip().lower()
            continue
        if section == "oemfiles":
            entries.append((number, line))
    checks.expect(entries, f"{name}: [OEMFiles] with entries")
    found = {kind: {} for kind in PLUGIN_KINDS}
    for number, line in entries:
        key, equals, value = line.partition("=")
        where = f"{name} line {number}"
        checks.expect(equals and key == key.strip() and value == value.strip(),
                      f"{where}: no spaces around '='", repr(line))
        match = PLUGIN_KEY.match(key.strip())
        checks.expect(match, f"{where}: {' or '.join(k + 'N' for k in PLUGIN_KINDS)}", key)
        checks.expect(value.strip() and not any(c in value for c in "\\/:"),
                      f"{where}: a file name without a path", value)
        if match:
            kind = next(k for k in PLUGIN_KINDS if k.lower() == match.group(1).lower())
            found[kind][int(match.group(2))] = value.strip()
    for kind, files in found.items():
        checks.expect(sorted(files) == list(range(1, len(files) + 1)),
                      f"{name}: {kind}N counts from 1 without gaps", sorted(files))
    config = found["OEMConfigFile"]
    checks.expect(config.get(1, "").lower() == PLUGIN_FILE,
                  f"{name}: OEMConfigFile1={PLUGIN_FILE}, the UI plug-in", config)
    return {kind: [files[n] for n in sorted(files)] for kind, files in found.items()}


def check_files(checks, inf, package, arch, files, data_file, flavour, version):
    """Every copied file is in the package for this architecture; the PPD,
    the configuration file and the DLLs it names are checked."""
    paths = {}
    for name in files:
        path, problem = source_path(inf, package, arch, name)
        checks.expect(path is not None, f"{name} in the package", problem)
        paths[name.lower()] = path
    ppd = paths.get(data_file.lower())
    if ppd:
        with open(ppd, "rb") as f:
            checks.expect(f.read(11) == b"*PPD-Adobe:", f"{data_file} is a PPD")
    inis = [name for name in files if name.lower().endswith(".ini")]
    checks.expect(len(inis) == 1, "one plug-in configuration file copied", inis)
    if len(inis) != 1 or not paths.get(inis[0].lower()):
        return
    named = read_plugin_ini(checks, paths[inis[0].lower()])
    for kind, dlls in named.items():
        for dll in dlls:
            checks.expect(dll.lower() in paths, f"{kind} {dll} copied by the INF")
            path = paths.get(dll.lower())
            if path and kind == "OEMConfigFile":
                checks.prefix = f"{arch}/{dll}: "
                check_dll(checks, path, ARCHS[arch]["dll_arch"], flavour, version)
                checks.prefix = f"{arch}: "


def check_package(checks, package, flavour, version, required):
    infs = sorted(n for n in os.listdir(package) if n.lower().endswith(".inf"))
    checks.expect(len(infs) == 1, "one INF in the package", infs)
    if len(infs) != 1:
        return []
    inf = InfFile.read(os.path.join(package, infs[0]))
    check_text(checks, inf)
    check_version_section(checks, inf, version)
    check_source_disks(checks, inf)
    checks.expect(inf.value("DestinationDirs", "DefaultDestDir") == PRINTER_DRIVER_DIR,
                  f"[DestinationDirs] DefaultDestDir={PRINTER_DRIVER_DIR}",
                  inf.value("DestinationDirs", "DefaultDestDir"))
    sections = models_sections(checks, inf, flavour)
    offered = {arch: models(checks, inf, names) for arch, names in sections.items()}
    names = [set(m) for m in offered.values()]
    checks.expect(names[0] and all(n == names[0] for n in names),
                  "the same models for every architecture", offered)
    built = []
    for arch in ARCHS:
        present = os.path.isdir(os.path.join(package, ARCHS[arch]["folder"]))
        if not present and arch not in required:
            print(f"skip  {arch}: not built in this tree")
            continue
        checks.prefix = f"{arch}: "
        checks.expect(present, f"folder {ARCHS[arch]['folder']}/ in the package")
        built.append(arch)
        for model, install in sorted(offered[arch].items()):
            section = actual_install_section(inf, install, arch)
            checks.expect(section is not None, f"install section [{install}] of {model}")
            if section:
                files, data_file = check_install_section(checks, inf, section)
                check_files(checks, inf, package, arch, files, data_file, flavour, version)
        checks.prefix = ""
    return built


def run(package, flavour, version, required):
    """Runs every check and prints them; returns the number of failures."""
    checks = Checks()
    built = check_package(checks, package, flavour, version, required)
    print(f"package: {checks.passed} passed, {checks.failed} failed; "
          f"architectures checked: {', '.join(built) or 'none'}")
    return checks.failed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("package")
    parser.add_argument("--flavour", choices=OFFERED_FROM, required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--require", choices=ARCHS, action="append", default=[])
    args = parser.parse_args()
    if not os.path.isdir(args.package):
        print(f"FAIL  {args.package}: no such folder")
        return 1
    return 1 if run(args.package, args.flavour, args.version, args.require) else 0


if __name__ == "__main__":
    sys.exit(main())
