#!/usr/bin/env python3
"""Runs ppdinfo --lint and --fix on small PPDs, one or more for each rule, and
checks the findings, the rewritten bytes, the exit codes and the messages.
With --ppddiff, the fixed fixtures are also proved against libcups
(ppddiff --fixed: libcups reads each fixed file as its original)."""
import argparse
import os
import re
import subprocess
import sys

failures = []

HEADER = b'*PPD-Adobe: "4.3"\n*LanguageEncoding: ISOLatin1\n'

DUPLEX = (b'*OpenUI *Duplex/Two-Sided: PickOne\n*DefaultDuplex: None\n'
          b'*Duplex None/Off: ""\n*Duplex DuplexNoTumble/Long Edge: ""\n'
          b'*Duplex DuplexTumble/Short Edge: ""\n*CloseUI: *Duplex\n')
# 'off' in lower case: libcups leaves out None, False and Off ignoring case.
SLOT = (b'*OpenUI *InputSlot/Paper Source: PickOne\n*DefaultInputSlot: Tray1\n'
        b'*InputSlot Tray1/Tray 1: ""\n*InputSlot Manual/Manual Feed: ""\n'
        b'*InputSlot off/No Tray: ""\n*CloseUI: *InputSlot\n')

# name -> (bytes, [(line, rule words that the message must hold)], fixed bytes or None
# when --fix must leave the file as it is)
CASES = {}


def case(name, data, findings, fixed):
    CASES[name] = (data, findings, fixed)


case("clean", HEADER + DUPLEX + SLOT + b'*UIConstraints: *Duplex DuplexTumble *InputSlot Manual\n',
     [], None)

# A constraint whose missing choice is on the first option; it takes the next
# statement's keyword and so loses the constraint of line 16.
case("short constraint, first option",
     HEADER + DUPLEX + SLOT +
     b'*UIConstraints: *Duplex *InputSlot Manual\n'
     b'*UIConstraints: *InputSlot Manual *Duplex DuplexTumble\n',
     [(15, ["*UIConstraints: *Duplex *InputSlot Manual has 3 values",
            "every choice of *Duplex but None, False and Off against *InputSlot Manual",
            "takes its fourth value '*UIConstraints' from line 16",
            "loses the constraint *InputSlot Manual *Duplex DuplexTumble (line 16)"])],
     HEADER + DUPLEX + SLOT +
     b'*UIConstraints: *Duplex DuplexNoTumble *InputSlot Manual\n'
     b'*UIConstraints: *Duplex DuplexTumble *InputSlot Manual\n'
     b'*UIConstraints: *InputSlot Manual *Duplex DuplexTumble\n')

# Missing choice on the second option, at the very end of a file without a
# final line end.
case("short constraint at the end",
     HEADER + DUPLEX + SLOT + b'*UIConstraints: *InputSlot Manual *Duplex',
     [(15, ["*UIConstraints: *InputSlot Manual *Duplex has 3 values",
            "finds the end of the file after 3 values and stops reading"])],
     HEADER + DUPLEX + SLOT +
     b'*UIConstraints: *InputSlot Manual *Duplex DuplexNoTumble\n'
     b'*UIConstraints: *InputSlot Manual *Duplex DuplexTumble')

# Two values: every choice of both; it swallows the next block.
case("short constraint of two values",
     HEADER + DUPLEX + b'*UIConstraints: *Duplex *InputSlot\n' + SLOT,
     [(9, ["has 2 values", "takes its third and fourth values '*OpenUI' and '*InputSlot/Paper'",
           "from line 10", "loses the feature *InputSlot (line 10)"])],
     HEADER + DUPLEX +
     b'*UIConstraints: *Duplex DuplexNoTumble *InputSlot Tray1\n'
     b'*UIConstraints: *Duplex DuplexNoTumble *InputSlot Manual\n'
     b'*UIConstraints: *Duplex DuplexTumble *InputSlot Tray1\n'
     b'*UIConstraints: *Duplex DuplexTumble *InputSlot Manual\n' + SLOT)

# A constraint on an option the file does not have applies to no choice.
case("short constraint on no option",
     HEADER + DUPLEX + b'*UIConstraints: *Duplex DuplexTumble *Stapler\n',
     [(9, ["has 3 values", "stops reading"])],
     HEADER + DUPLEX +
     b'*% *UIConstraints: *Duplex DuplexTumble *Stapler (applies to no choice)\n')

# '"' in an option translation and in a feature translation, CR LF kept.
QUOTES = (b'*PPD-Adobe: "4.3"\r\n*OpenUI *PageSize/Paper "Size": PickOne\r\n'
          b'*DefaultPageSize: Letter\r\n'
          b'*PageSize Letter/Letter (8.5" x 11"): "<</PageSize[612 792]>>setpagedevice"\r\n'
          b'*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"\r\n*CloseUI: *PageSize\r\n')
case("quotes in translations", QUOTES,
     [(2, ["*OpenUI *PageSize/Paper \"Size\": PickOne: the '\"' in the translation",
           "shows the feature *PageSize as 'Paper '"]),
      (4, ["shows the option Letter as 'Letter (8.5'"])],
     QUOTES.replace(b'Paper "Size"', b'Paper <22>Size<22>')
     .replace(b'(8.5" x 11")', b'(8.5<22> x 11<22>)'))

# Nested blocks without *CloseUI: the first runs on into the second's
# *CloseUI; the last has none before the end of the file.
NESTED = (HEADER + b'*OpenGroup: InstallableOptions/Options Installed\n'
          b'*OpenUI *Unit/Duplex Unit: Boolean\n*DefaultUnit: False\n'
          b'*Unit True/Fitted: ""\n*Unit False/Not Fitted: ""\n\n'
          b'*OpenUI *Tray2/Second Tray: Boolean\n*DefaultTray2: False\n'
          b'*Tray2 True/Fitted: ""\n*Tray2 False/Not Fitted: ""\n*CloseUI: *Tray2\n'
          b'*CloseGroup: InstallableOptions\n'
          + DUPLEX.replace(b'*CloseUI: *Duplex\n', b'') +
          b'*UIConstraints: *Unit False *Duplex DuplexTumble\n')
case("nested blocks without *CloseUI", NESTED,
     [(4, ["*OpenUI *Unit/Duplex Unit: Boolean: no *CloseUI before *OpenUI *Tray2 (line 9)",
           "reads on to the *CloseUI of line 13", "loses the feature *Tray2 (line 9)"]),
      (15, ["no *CloseUI before the end of the file",
            "stops reading at the end of the file inside this block",
            "loses the constraint *Unit False *Duplex DuplexTumble (line 20)"])],
     NESTED.replace(b'*Unit False/Not Fitted: ""\n', b'*Unit False/Not Fitted: ""\n*CloseUI: *Unit\n')
     .replace(b'*Duplex DuplexTumble/Short Edge: ""\n',
              b'*Duplex DuplexTumble/Short Edge: ""\n*CloseUI: *Duplex\n'))

# What --fix leaves: JCL blocks, long texts, *NonUIConstraints, a feature
# opened twice, a default outside its block, text in another code page.
LONG = b'x' * 300
UNFIXABLE = (HEADER + b'*DefaultInputSlot: Manual\n' + SLOT.replace(b'*DefaultInputSlot: Tray1\n', b'') +
             b'*JCLOpenUI *JCLQuiet/Quiet Mode: Boolean\n*DefaultJCLQuiet: False\n'
             b'*JCLQuiet True/On: "@PJL SET QUIET=ON<0A>"\n*JCLQuiet False/Off: ""\n'
             b'*JCLCloseUI: *JCLQuiet\n'
             b'*OpenUI *Finish/' + LONG + b': PickOne\n*Finish None/None: ""\n*CloseUI: *Finish\n'
             b'*OpenUI *InputSlot/Paper Source: PickOne\n*InputSlot Tray2/Tray 2: ""\n'
             b'*CloseUI: *InputSlot\n'
             b'*NonUIConstraints: *JCLQuiet True *InputSlot Manual\n')
case("what --fix leaves", UNFIXABLE,
     [(3, ["*DefaultInputSlot: Manual: a default outside the block of *InputSlot",
           "so has no default for *InputSlot"]),
      (9, ["*JCLOpenUI *JCLQuiet/Quiet Mode: Boolean: a JCL block",
           "*JCLQuiet and its 2 options are not in its model"]),
      (14, ["the translation of *Finish is 300 UTF-16 units long",
            "keeps the first 259, 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...'"]),
      (17, ["*InputSlot is opened again (first at line 4)",
            "second feature *InputSlot that its look-ups never reach"]),
      (20, ["*NonUIConstraints: *JCLQuiet True *InputSlot Manual",
            "never evaluates this constraint"])],
     None)

JAPANESE = (b'*PPD-Adobe: "4.3"\n*LanguageEncoding: JIS83-RKSJ\n'
            b'*OpenUI *Duplex/\x97\xbc\x96\xca: PickOne\n*DefaultDuplex: None\n'
            b'*Duplex None/\x82\xc8\x82\xb5: ""\n*CloseUI: *Duplex\n')
case("language encoding", JAPANESE,
     [(2, ["*LanguageEncoding: JIS83-RKSJ: its text needs code page 932",
           "ANSI code page (1252 here)", "text of line 3 shows as"])],
     None)

# UTF-8 text declared ISOLatin1: 0x84 of 'Ä' is a control character in
# ISO 8859-1 and '„' in code page 1252.
case("ISOLatin1 with bytes 0x80 to 0x9F",
     HEADER + b'*OpenUI *Tray/F\xc3\xa4cher \xc3\x84: PickOne\n*Tray A/A: ""\n*CloseUI: *Tray\n',
     [(2, ["its text has bytes from 0x80 to 0x9F",
           "the text is UTF-8: it needs *LanguageEncoding UTF-8 and code page 65001",
           "text of line 3 shows as"])],
     None)


def check(condition, message):
    if not condition:
        failures.append(message)


def run(program, args, stdin=None):
    result = subprocess.run(program + args, capture_output=True, timeout=120)
    return result.returncode, result.stdout, result.stderr.decode("utf-8", "replace")


def check_case(program, work, name, data, findings, fixed):
    path = os.path.join(work, re.sub(r"[^a-z0-9]+", "-", name) + ".ppd")
    with open(path, "wb") as f:
        f.write(data)
    code, out, err = run(program, ["--lint", path])
    lines = out.decode("utf-8").splitlines()
    check(code == (1 if findings else 0), f"{name}: --lint exit {code}, stderr {err!r}")
    check(err == "", f"{name}: --lint stderr {err!r}")
    check(len(lines) == len(findings),
          f"{name}: {len(lines)} findings, expected {len(findings)}:\n  " + "\n  ".join(lines))
    for (line, words), text in zip(findings, lines):
        prefix = f"{path}:{line}: "
        check(text.startswith(prefix), f"{name}: finding {text!r} does not start with {prefix!r}")
        for w in words:
            check(w in text, f"{name}: finding {text!r} lacks {w!r}")

    code, out, err = run(program, ["--fix", path])
    expected = fixed if fixed is not None else data
    check(out == expected, f"{name}: --fix wrote\n{out!r}\nexpected\n{expected!r}")
    unfixable = [f for f in findings if fixed is None]
    check(code == (1 if unfixable else 0), f"{name}: --fix exit {code}, stderr {err!r}")
    err_lines = err.splitlines()
    check(len(err_lines) == len(unfixable) + 1 and re.fullmatch(
        rf"ppdinfo: \d+ fixed, {len(unfixable)} not fixable", err_lines[-1] if err_lines else ""),
          f"{name}: --fix stderr {err!r}")
    for (line, _), text in zip(unfixable, err_lines):
        check(text.startswith(f"ppdinfo: not fixed: {path}:{line}: "), f"{name}: {text!r}")

    if fixed is not None:
        fixed_path = path[:-4] + ".fixed.ppd"
        with open(fixed_path, "wb") as f:
            f.write(fixed)
        code, out, err = run(program, ["--lint", fixed_path])
        check(code == 0 and out == b"", f"{name}: the fixed file still has findings: {out!r}")
        return path
    return None


def check_modes(program, work):
    data = CASES["short constraint, first option"][0]
    fixed = CASES["short constraint, first option"][2]
    path = os.path.join(work, "modes.ppd")
    with open(path, "wb") as f:
        f.write(data)

    # -o writes the file; the input stays unless it is named as the output.
    out_path = os.path.join(work, "modes.out.ppd")
    code, out, err = run(program, ["--fix", path, "-o", out_path])
    check(code == 0 and out == b"", f"-o: exit {code}, stdout {out!r}, stderr {err!r}")
    check(open(out_path, "rb").read() == fixed, "-o output")
    check(open(path, "rb").read() == data, "the input is left alone")
    code, out, err = run(program, ["--fix", path, "-o", path])
    check(code == 0 and open(path, "rb").read() == fixed, f"-o FILE replaces FILE: {code} {err!r}")
    check(not os.path.exists(path + ".ppdinfo-tmp"), "no temporary file left")

    code, _, _ = run(program, ["--codepage", "932", "--lint",
                               os.path.join(work, "language-encoding.ppd")])
    check(code == 0, f"code page 932 reads the JIS83-RKSJ text: exit {code}")

    missing = os.path.join(work, "no-such-file.ppd")
    cases = [
        ("--lint of a missing file", ["--lint", missing], "cannot open"),
        ("--lint of a folder", ["--lint", work], "cannot read"),
        ("--fix of a missing file", ["--fix", missing], "cannot open"),
        ("--fix to a missing folder", ["--fix", path, "-o", os.path.join(missing, "x.ppd")],
         "cannot write"),
        ("--lint without a file", ["--lint"], "no FILE"),
        ("--lint with two files", ["--lint", path, path], "exactly one FILE"),
        ("--lint and --fix", ["--lint", "--fix", path], "exclude each other"),
        ("--lint with --json", ["--lint", "--json", path], "takes no --json"),
        ("--fix with --installed", ["--fix", "--installed", "*A=B", path], "takes no"),
        ("-o without --fix", ["-o", out_path, path], "-o is for --fix only"),
        ("-o without a file", ["--fix", path, "-o"], "-o needs an output file"),
    ]
    for label, args, words in cases:
        code, out, err = run(program, args)
        check(code == 2, f"{label}: exit {code}, expected 2")
        lines = err.strip().splitlines()
        check(len(lines) == 1 and lines[0].startswith("ppdinfo: ") and words in lines[0],
              f"{label}: stderr {err!r}")
        check(out == b"", f"{label}: stdout {out!r}")
    code, out, _ = run(program, ["--help"])
    check(code == 0 and b"--lint" in out and b"--fix" in out and b"-o OUT" in out, "help")


# Pieces of PPD statements, good and broken, for random files: --fix must
# leave nothing fixable (a second --fix changes nothing), and libcups must
# read every fixed file as its original.
PIECES = [b'*OpenUI *A/A "x": PickOne\n', b'*A x/X"y: ""\n', b'*CloseUI: *A\n',
          b'*UIConstraints: *A x *B\n', b'*UIConstraints: *A\n', b'*OpenUI *B: Boolean\n',
          b'*B True/T: ""\n', b'*B False/No: ""\r\n', b'*End\n', b'*DefaultB: True\n',
          b'*JCLOpenUI *JCLC: PickOne\n', b'*JCLC On: ""\n', b'*JCLCloseUI: *JCLC\n',
          b'*% c "\n', b'*A y/Y: ""\n', b'*UIConstraints: *B *A y\n', b'*UIConstraints: *B *A\n',
          b'*OpenUI *PageSize: PickOne\n', b'*PageSize A4/A4 "x": ""\n', b'*PageRegion A4/A4: ""\n',
          b'*CustomPageSize True: ""\n', b'*UIConstraints: *PageSize *B True\n',
          b'*UIConstraints: *PageRegion A4 *B\n', b'*OrderDependency: 10 AnySetup *A\n',
          b'*DefaultA: x\n', b'*A none/None: ""\n', b'*A OFF/Off: ""\n', b'*B True: "\n', b'"\n']


def check_random(program, work, ppddiff, count, seed):
    import random
    rng = random.Random(seed)
    folder = os.path.join(work, "random")
    os.makedirs(folder, exist_ok=True)
    paths = []
    for n in range(count):
        data = b'*PPD-Adobe: "4.3"\n' + b"".join(rng.choice(PIECES)
                                                  for _ in range(rng.randint(3, 30)))
        path = os.path.join(folder, f"r{n:03}.ppd")
        with open(path, "wb") as f:
            f.write(data)
        paths.append(path)
        code, once, _ = run(program, ["--fix", path])
        fixed_path = path + ".fixed"
        with open(fixed_path, "wb") as f:
            f.write(once)
        code2, twice, _ = run(program, ["--fix", fixed_path])
        check(code in (0, 1) and twice == once, f"random {path}: a second --fix changes it")
    if ppddiff:
        result = subprocess.run([ppddiff, "--fixed", "--work", folder] + paths,
                                capture_output=True, timeout=300)
        out = result.stdout.decode("utf-8", "replace")
        for row in ("libcups reads the fixed file as the original", "conflict relation",
                    "fixable findings left", "differs from PpdDocument"):
            check(re.search(re.escape(row) + r".*\| 0 \|$", out, re.M) is not None,
                  f"random files: '{row}' is not 0:\n{out}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--work", required=True)
    parser.add_argument("--ppddiff", help="prove the fixed fixtures against libcups with it")
    parser.add_argument("--random-count", type=int, default=120, help="random PPDs to fix")
    parser.add_argument("--random-seed", type=int, default=21)
    parser.add_argument("program", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    program = [p for p in args.program if p not in ("--", "")]
    work = os.path.join(args.work, "lint")
    os.makedirs(work, exist_ok=True)

    fixed_inputs = []
    for name, (data, findings, fixed) in CASES.items():
        path = check_case(program, work, name, data, findings, fixed)
        if path:
            fixed_inputs.append(path)
    check_modes(program, work)
    check_random(program, work, args.ppddiff, args.random_count, args.random_seed)

    if args.ppddiff:
        result = subprocess.run([args.ppddiff, "--fixed", "--work", work] + fixed_inputs,
                                capture_output=True, timeout=300)
        out = result.stdout.decode("utf-8", "replace")
        check(result.returncode == 0 and "fix proof holds" in out,
              f"ppddiff --fixed on the fixtures: exit {result.returncode}\n{out}")
        check(f"| {len(fixed_inputs)} | {len(fixed_inputs)} |" in out,
              f"every fixture is changed by --fix:\n{out}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(CASES)} lint cases, {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
