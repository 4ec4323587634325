#!/usr/bin/env bash
# Throughput of zibs-sweep: worlds per second for the default setting run to the end, with 1 and
# with 2 threads, timed by hyperfine (each a mean of several whole sweeps).
#   bench/sweep_throughput.sh [BUILD_DIR] [SEEDS] [REPEATS]   (defaults: build 1..1000 3)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seeds=${2:-1..1000}
repeats=${3:-3}
runs=$((${seeds#*..} - ${seeds%..*} + 1))
json=$(mktemp)
trap 'rm -f "$json"' EXIT

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
hyperfine --style basic --runs "$repeats" --export-json "$json" --parameter-list threads 1,2 \
    "$build/zibs-sweep --seeds $seeds --to-end --threads {threads}"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$json" "$runs" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
runs = int(sys.argv[2])
base = None
print(f"{'threads':>7} {'seconds':>8} {'runs/s':>8} {'min-max runs/s':>15} {'CPU s':>6} {'speed-up':>8}")
for r in results:
    rate = runs / r["mean"]
    base = base or rate
    span = f"{runs / r['max']:.0f}-{runs / r['min']:.0f}"
    cpu = r["user"] + r["system"]
    print(f"{r['parameters']['threads']:>7} {r['mean']:8.2f} {rate:8.0f} {span:>15} {cpu:6.2f} "
          f"{rate / base:8.2f}")
PY
