#!/usr/bin/env python3
"""Runs the PPD fuzz target for a given time, seeded with the fixtures in
fuzz/seeds, the sample PPD and every 100th PPD of the corpus, and prints the
run's figures. Exits non-zero when the fuzzer found a crash, a leak or a
time-out (the input is kept in WORK/artifacts).

usage: run_fuzz.py --fuzzer PATH --seconds N [--corpus-index FILE] --work DIR"""
import argparse
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(HERE)
MAX_LEN = 16384


def seed_corpus(index, every, target):
    """Copies every `every`th PPD of the corpus index into `target`."""
    os.makedirs(target, exist_ok=True)
    folder = os.path.dirname(index)
    with open(index) as lines:
        for n, rel in enumerate(line.strip() for line in lines):
            if rel and n % every == 0:
                shutil.copyfile(os.path.join(folder, rel),
                                os.path.join(target, rel.replace("/", "_")))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--fuzzer", required=True)
    parser.add_argument("--seconds", type=int, required=True)
    parser.add_argument("--corpus-index")
    parser.add_argument("--every", type=int, default=100)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()

    queue = os.path.join(args.work, "queue")
    corpus_seeds = os.path.join(args.work, "corpus-seeds")
    artifacts = os.path.join(args.work, "artifacts") + os.sep
    os.makedirs(queue, exist_ok=True)
    os.makedirs(artifacts, exist_ok=True)
    seeds = [os.path.join(HERE, "seeds"), os.path.join(SOURCE, "samples")]
    if args.corpus_index:
        seed_corpus(args.corpus_index, args.every, corpus_seeds)
        seeds.append(corpus_seeds)

    command = [args.fuzzer, f"-max_total_time={args.seconds}", f"-max_len={MAX_LEN}",
               f"-dict={os.path.join(HERE, 'ppd.dict')}", "-timeout=20", "-rss_limit_mb=4096",
               "-print_final_stats=1", f"-artifact_prefix={artifacts}", queue] + seeds
    print(" ".join(command), flush=True)
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors="replace")
    output = result.stdout
    stats = dict(re.findall(r"^stat::(\w+):\s+(\d+)", output, re.M))
    coverage = re.findall(r"cov: (\d+) ft: (\d+)", output)
    crashes = [line for line in output.splitlines()
               if re.search(r"ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error|"
                            r"Test unit written", line)]
    print(f"fuzz: {stats.get('number_of_executed_units', '?')} executions in "
          f"{args.seconds} s, "
          f"{stats.get('average_exec_per_sec', '?')} per second, coverage "
          f"{coverage[-1][0] if coverage else '?'} edges ({coverage[-1][1] if coverage else '?'} "
          f"features), corpus {len(os.listdir(queue))} inputs, peak memory "
          f"{stats.get('peak_rss_mb', '?')} MB, exit {result.returncode}")
    if result.returncode != 0 or crashes:
        print(output[-6000:])
        print(f"fuzz: FAILED ({len(crashes)} report lines); inputs in {artifacts}")
        return 1
    print("fuzz: no crash, leak or time-out")
    return 0


if __name__ == "__main__":
    sys.exit(main())
