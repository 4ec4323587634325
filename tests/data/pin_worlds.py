#!/usr/bin/env python3
"""Writes pinned_worlds.txt from a zibs-run binary: for every world below, one line per day with
the day, the population and the FNV-1a 64 hash of that day's `zibs-run --trace` snapshot (from its
"day" line to its "end" line, both included).

Refresh the pins only when a change to the rules or to the order of the draws is meant:
    python3 tests/data/pin_worlds.py build/zibs-run > tests/data/pinned_worlds.txt
and say in the commit why the worlds changed.
"""
import subprocess
import sys

# seed, days, then the six parameter texts as the parameters window takes them:
# start population, repro rate, max grass, growth rate, radiation, cell mutations.
WORLDS = [
    ("31", "300", "10", "1", "15", "2", "50", "1"),           # the defaults; lives on
    ("2024", "200", "100", "1", "15", "2", "1000", "20"),     # a full start, dies out early
    ("13", "250", "10", "1", "15", "2", "100", "3"),          # mutating litters up to 82 zibs
]
OPTIONS = ["--start-population", "--repro-rate", "--max-grass", "--growth-rate", "--radiation",
           "--mutations"]


def fnv1a64(data: bytes) -> int:
    h = 0xCBF29CE484222325
    for b in data:
        h = ((h ^ b) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return h


def main() -> None:
    runner = sys.argv[1]
    out = ["# Pinned worlds, written by pin_worlds.py: world SEED DAYS and the six parameter texts,",
           "# then per day: day, population, FNV-1a 64 of the day's --trace snapshot."]
    for seed, days, *texts in WORLDS:
        args = [runner, "--seed", seed, "--days", days, "--trace"]
        for option, text in zip(OPTIONS, texts):
            args += [option, text]
        trace = subprocess.run(args, check=True, capture_output=True).stdout
        out.append("world " + " ".join([seed, days, *texts]))
        snapshots = trace.split(b"end\n")
        assert snapshots[-1] == b"" and len(snapshots) == int(days) + 2
        for snap in snapshots[:-1]:
            snap += b"end\n"
            head = snap.split(b"\n", 1)[0].split()  # day D population P popstart S
            out.append(f"{int(head[1])} {int(head[3])} {fnv1a64(snap):016x}")
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
