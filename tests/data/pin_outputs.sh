#!/usr/bin/env bash
# Writes the pinned outputs the tests compare with, from the programs of a build folder:
#   sweep_seeds27to32.csv    a sweep whose runs last 67 to 32,767 days (rows in run order)
#   sweep_small.csv          a small sweep's rows ...
#   sweep_small_series.csv   ... and its series file
#   stats_seed31.csv         the statistics of world 31, days 0 to 5 (zibs-run --stats; the
#                            program's "Export statistics" after going back to day 5 of a run)
#   population_seed31.csv    the program's "Export population" after going back to day 5: the
#                            runner's rows, each with the seed and the six parameters
#
# Refresh them only when a change to the rules, the order of the draws or a file's columns is
# meant, check the difference by hand, and say in the commit why the outputs changed:
#     tests/data/pin_outputs.sh build
set -euo pipefail
build=${1:?usage: pin_outputs.sh BUILD_DIR}
data=$(dirname "$0")
"$build/zibs-sweep" --seeds 27..32 --threads 1 >"$data/sweep_seeds27to32.csv" 2>/dev/null
"$build/zibs-sweep" --repro-rate 1,3 --seeds 1..2 --days 2 --threads 1 \
    --series "$data/sweep_small_series.csv" >"$data/sweep_small.csv"
"$build/zibs-run" --seed 31 --days 5 --stats >"$data/stats_seed31.csv"
"$build/zibs-run" --seed 31 --days 5 |
    awk 'NR == 1 { print $0 ",seed,start_population,repro_rate,max_grass,growth_rate,radiation,mutations"; next }
         { print $0 ",31,10,1,15,2,50,1" }' >"$data/population_seed31.csv"
