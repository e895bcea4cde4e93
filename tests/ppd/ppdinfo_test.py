#!/usr/bin/env python3
"""Runs ppdinfo on the sample PPD and on broken input and checks its output:
the JSON keys and their order, values that show the reading, and the exit
codes and messages of errors."""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile

TOP_KEYS = ["header", "features", "constraints", "installed"]
HEADER_KEYS = ["modelName", "product", "manufacturer", "languageEncoding", "languageVersion"]
FEATURE_KEYS = ["keyword", "translation", "defaultOption", "group", "groupTranslation",
                "uiType", "orderNumber", "query", "options"]
OPTION_KEYS = ["keyword", "translation", "invocation", "constrained"]
INSTALLED_KEYS = ["keyword", "value"]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(program, args):
    result = subprocess.run(program + args, capture_output=True, timeout=120)
    return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8", "replace")


def load_json(program, args):
    code, out, err = run(program, ["--json"] + args)
    check(code == 0, f"{args}: exit {code}, stderr {err!r}")
    return json.loads(out, object_pairs_hook=lambda pairs: pairs)


def as_dict(pairs):
    return {key: value for key, value in pairs}


def feature(model, keyword):
    for pairs in as_dict(model)["features"]:
        f = as_dict(pairs)
        if f["keyword"] == keyword:
            return f
    failures.append(f"no feature {keyword}")
    return {"options": []}


def constrained(model, keyword):
    return {as_dict(o)["keyword"]: as_dict(o)["constrained"] for o in feature(model, keyword)["options"]}


def check_shape(model):
    check([k for k, _ in model] == TOP_KEYS, f"top keys {[k for k, _ in model]}")
    top = as_dict(model)
    check([k for k, _ in top["header"]] == HEADER_KEYS, f"header keys {top['header']}")
    for pairs in top["features"]:
        check([k for k, _ in pairs] == FEATURE_KEYS, f"feature keys {[k for k, _ in pairs]}")
        f = as_dict(pairs)
        check(f["query"] is None or isinstance(f["query"], str), f"query of {f['keyword']}")
        check(isinstance(f["uiType"], int) and isinstance(f["orderNumber"], int), "numbers")
        for option in f["options"]:
            check([k for k, _ in option] == OPTION_KEYS, f"option keys {[k for k, _ in option]}")
            o = as_dict(option)
            check(isinstance(o["constrained"], bool), "constrained is a boolean")
            check(o["invocation"] is None or isinstance(o["invocation"], str), "invocation")
    for c in top["constraints"]:
        check(isinstance(c, list) and len(c) == 4 and all(isinstance(v, str) for v in c),
              f"constraint {c}")
    for pairs in top["installed"]:
        check([k for k, _ in pairs] == INSTALLED_KEYS, f"installed keys {pairs}")


def check_sample(program, sample):
    model = load_json(program, [sample])
    check_shape(model)
    top = as_dict(model)
    header = as_dict(top["header"])
    check(header["manufacturer"] == "Corvane", f"manufacturer {header['manufacturer']!r}")
    check(header["languageEncoding"] == "ISOLatin1", "language encoding")
    check(len(top["features"]) >= 28, f"{len(top['features'])} features")

    duplex_unit = feature(model, "*CVDuplexOption")
    check(duplex_unit["group"] == "InstallableOptions", "duplex unit group")
    check(duplex_unit["defaultOption"] == "False", "duplex unit default")
    duplex = feature(model, "*Duplex")
    check(duplex["orderNumber"] > 0, "order dependency read")
    check(any("\n" in (as_dict(o)["invocation"] or "") for f in top["features"]
              for o in as_dict(f)["options"]), "a multi-line invocation")
    check(any(any(ord(ch) > 127 for ch in as_dict(f)["translation"]) for f in top["features"]),
          "Latin-1 text converted to Unicode")

    # No duplex unit by default: both two-sided options are ruled out.
    flags = constrained(model, "*Duplex")
    check(flags.get("DuplexTumble") and flags.get("DuplexNoTumble") and not flags.get("None"),
          f"default duplex flags {flags}")
    fitted = load_json(program, ["--installed", "*CVDuplexOption=True", sample])
    flags = constrained(fitted, "*Duplex")
    check(not any(flags.values()), f"duplex flags with the unit fitted {flags}")
    installed = {as_dict(i)["keyword"]: as_dict(i)["value"] for i in as_dict(fitted)["installed"]}
    check(installed.get("*CVDuplexOption") == "True", f"installed {installed}")

    code, out, err = run(program, [sample])
    check(code == 0 and "*CVDuplexOption" in out and "InstallableOptions" in out,
          f"outline: exit {code}, {err!r}")

    code, out, err = run(program, ["--timing", sample])
    check(code == 0 and re.fullmatch(r"build_ms=\d+\.\d+ flags_ms=\d+\.\d+\n", out) is not None,
          f"timing: exit {code}, {out!r} {err!r}")

    code, out, err = run(program, ["--installed", "*NoSuchUnit=True", sample])
    check(code == 0 and "*NoSuchUnit" in err, f"unknown installed keyword: {code} {err!r}")


def check_errors(program, work, prefix, windows):
    missing = prefix + os.path.join(work, "no-such-file.ppd")
    cases = [
        ("missing file", [missing], 1),
        ("directory", [prefix + work], 1),
        ("no file", [], 2),
        ("unknown option", ["--bogus", missing], 2),
        ("two files", [missing, missing], 2),
        ("installed without =", ["--installed", "*CVDuplexOption", missing], 2),
        ("installed without value", ["--installed"], 2),
        ("code page not a number", ["--codepage", "abc", missing], 2),
        ("timing and json", ["--timing", "--json", missing], 2),
        ("timing of a missing file", ["--timing", missing], 1),
    ]
    if windows:
        cases.append(("code page on Windows", ["--codepage", "1252", missing], 2))
    else:
        cases.append(("unknown code page", ["--codepage", "99999", missing], 2))
    for label, args, expected in cases:
        code, out, err = run(program, args)
        check(code == expected, f"{label}: exit {code}, expected {expected}")
        lines = err.strip().splitlines()
        check(len(lines) == 1 and lines[0].startswith("ppdinfo: "), f"{label}: stderr {err!r}")
        check(out == "", f"{label}: stdout {out!r}")

    code, out, _ = run(program, ["--help"])
    check(code == 0 and "--codepage" in out and "--installed" in out, "help")
    if windows:
        check("ANSI code page" in out, "help tells that Windows uses its ANSI code page")


def check_code_page(program, work, prefix):
    with tempfile.NamedTemporaryFile("wb", suffix=".ppd", dir=work, delete=False) as f:
        f.write(b"*OpenUI *X/\xa5: PickOne\n*X A/\x8a: \"\"\n*CloseUI: *X\n")
        path = f.name
    try:
        latin = as_dict(load_json(program, [prefix + path]))["features"]
        central = as_dict(load_json(program, ["--codepage", "1250", prefix + path]))["features"]
        check(as_dict(latin[0])["translation"] == "\u00a5", "1252 translation")
        check(as_dict(central[0])["translation"] == "\u0104", "1250 translation")
        option = as_dict(as_dict(central[0])["options"][0])
        check(option["translation"] == "\u0160", "1250 option translation")
    finally:
        os.unlink(path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sample", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--path-prefix", default="")
    parser.add_argument("--windows", action="store_true")
    parser.add_argument("program", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    program = [p for p in args.program if p not in ("--", "")]

    check_sample(program, args.path_prefix + args.sample)
    check_errors(program, args.work, args.path_prefix, args.windows)
    if not args.windows:
        check_code_page(program, args.work, args.path_prefix)

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
