#!/usr/bin/env bash
# The speed report: generates the standard graphs, times the verbose runs of
# the binary (with peak memory), runs each benchmark against its baseline in
# the same process, and prints one table. Run after the README's build:
#   bench/run_all.sh [BUILD_DIR] [WORK_DIR]      (defaults: build, /tmp/vorlinde-bench)
# It needs about 4 GB of disk in WORK_DIR and takes a few minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=${2:-/tmp/vorlinde-bench}
bin=$build/vorlinde
[ -x "$bin" ] || { echo "no $bin: build first (see README)"; exit 1; }
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

rows=()
row() { rows+=("$(printf '%-14s %-24s %10s %9s %9s  %s' "$@")"); }

# Runs the binary under GNU time; leaves its stderr in $work/err and peak RSS (KiB) in $peak.
timed() {
  /usr/bin/time -f '%M' -o "$work/rss" "$bin" "$@" 2>"$work/err" >"$work/out"
  peak=$(tail -n 1 "$work/rss")
}
ms() { grep -F -- "$1" "$work/err" | tail -n 1 | sed -E 's/.*[^0-9-](-?[0-9]+)ms$/\1/'; }
mbps() { awk -v b="$1" -v t="$2" 'BEGIN { if (t > 0) printf "%.0f", b / 1e6 / (t / 1000); else print "-" }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.0f", k / 1024 }'; }

for standard in "g1m 1000000 5 1" "g10m 10000000 5 1" "g3m-e20 3000000 20 7"; do
  read -r name n maxEdge seed <<<"$standard"
  graph=$work/$name.txt
  solution=$work/$name.sol

  timed -v -c "$n" -s "$seed" -e "$maxEdge" "$graph"
  graphBytes=$(stat -c %s "$graph")
  row "$name" "generate" "$(ms 'Create time ...')" "-" "$(mib "$peak")" ""
  row "$name" "save graph" "$(ms 'Save time......')" "$(mbps "$graphBytes" "$(ms 'Save time......')")" "" ""

  timed -v "$graph" "$solution"
  solutionBytes=$(stat -c %s "$solution")
  solvePeak=$peak
  row "$name" "load" "$(ms 'Load time ....')" "$(mbps "$graphBytes" "$(ms 'Load time ....')")" "" ""
  row "$name" "solve heap" "$(ms 'Solve time ...')" "-" "" ""
  row "$name" "save solution" "$(ms 'Save time ....')" "$(mbps "$solutionBytes" "$(ms 'Save time ....')")" "" ""
  row "$name" "total (solve run)" "$(ms 'Total time ...')" "-" "$(mib "$solvePeak")" ""

  edges=$(wc -l <"$graph")
  arraysKiB=$(( (12 * edges + 28 * n) / 1024 ))
  limitKiB=$(( arraysKiB * 5 / 4 + 16 * 1024 ))
  memoryNote=$(awk -v p="$solvePeak" -v a="$arraysKiB" -v l="$limitKiB" \
    'BEGIN { printf "peak/arrays %.2f; limit 1.25x+16MiB = %.0f MiB: %s", p / a, l / 1024, (p <= l ? "within" : "OVER") }')
  row "$name" "memory (solve run)" "-" "-" "$(mib "$solvePeak")" "$memoryNote"

  timed -v -h -p "$solution"
  row "$name" "checksum run (-h -p)" "$(ms 'Load solution time ...')" \
    "$(mbps "$solutionBytes" "$(ms 'Load solution time ...')")" "$(mib "$peak")" "checksum $(cat "$work/out")"

  timed -v -t "$graph" "$solution"
  row "$name" "test run (-t)" "$(ms 'Total time ...')" "-" "$(mib "$peak")" "$(tail -n 1 "$work/err")"
  [ "$name" = g10m ] || rm -f "$graph" "$solution"
done

# Benchmarks against their baselines, on 10 million nodes, each in one process.
benchRow() { row "g10m" "$1" "" "" "" "$2"; }
out=$("$build/bench/random_graph_bench" 10000000 3)
benchRow "bench: generate" "$(grep '^median' <<<"$out" | sed 's/ (sink.*//')"
out=$("$build/bench/load_graph_bench" 10000000 3 "$work/load-bench.txt")
benchRow "bench: load" "$(grep '^median of the rounds' <<<"$out")"
out=$("$build/bench/heap_search_bench" 10000000 3)
benchRow "bench: solve heap" "$(grep '^median ratio' <<<"$out")"
out=$("$build/bench/save_solution_bench" 10000000 3 "$work")
benchRow "bench: save solution" "$(grep 'saveSolution / baseline' <<<"$out")"
benchRow "" "$(grep 'saveSolution / bare' <<<"$out")"

printf '%-14s %-24s %10s %9s %9s  %s\n' graph phase "time ms" "MB/s" "peak MiB" "ratio / note"
printf '%s\n' "${rows[@]}"
