#!/usr/bin/env bash
# The whole search of the runs (buckets, with the heap where they cannot be
# sure) against the heap search, one search per fresh process as a run makes
# it, alternating, each process after 2 GiB were touched as huge pages.
# Each process loads the graph from a file and searches at once, as
# `vorlinde GRAPH OUT` does. Prints every round and the medians of the
# rounds' ratios.
#   bench/fast_search_fresh.sh GRAPH [ROUNDS=3] [BUILD_DIR=build]
#       GRAPH: a graph file or a built-in graph of fast_search_bench (written
#       to a temporary file first; about 1 GB for the 10-million-node ones)
set -euo pipefail
graph=$1
rounds=${2:-3}
build=${3:-build}
if [ ! -f "$graph" ]; then
  file=$(mktemp /tmp/vorlinde-fast-search-XXXXXX)
  trap 'rm -f "$file"' EXIT
  "$build/bench/fast_search_bench" "$graph" write "$file" >/dev/null
  graph=$file
fi
touch_memory() { "$build/bench/bench_floors" touch 2048; }
search() {  # MODE: "wall cpu" of one search
  touch_memory
  "$build/bench/fast_search_bench" "$graph" "$1" | sed -nE 's/^search [a-z]+: wall ([0-9.]+) s, cpu ([0-9.]+) s$/\1 \2/p'
}

wallRatios=()
cpuRatios=()
for round in $(seq "$rounds"); do
  read -r heapWall heapCpu < <(search heap)
  read -r fastWall fastCpu < <(search fast)
  wallRatios+=("$(awk -v a="$fastWall" -v b="$heapWall" 'BEGIN { printf "%.3f", a / b }')")
  cpuRatios+=("$(awk -v a="$fastCpu" -v b="$heapCpu" 'BEGIN { printf "%.3f", a / b }')")
  echo "round $round: heap ${heapWall} s (cpu ${heapCpu}), whole search ${fastWall} s (cpu ${fastCpu})," \
    "ratio ${wallRatios[-1]} (cpu ${cpuRatios[-1]})"
done
median() { sort -n | awk '{ r[NR] = $1 } END { printf "%.3f", NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2 }'; }
echo "median ratio whole search / heap over $rounds rounds, fresh processes:" \
  "wall $(printf '%s\n' "${wallRatios[@]}" | median), cpu $(printf '%s\n' "${cpuRatios[@]}" | median)"
