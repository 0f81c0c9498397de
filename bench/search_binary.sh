#!/usr/bin/env bash
# The search through the binary, in fresh processes as users run it: the Solve
# line of `vorlinde -v GRAPH OUT` against a textbook Dijkstra on the same file
# (textbook_search_bench), alternating, each run after 2 GiB were touched as
# huge pages. Prints every round and the median of the rounds' ratios.
#   bench/search_binary.sh GRAPH [ROUNDS=3] [BUILD_DIR=build]
set -euo pipefail
graph=$1
rounds=${2:-3}
build=${3:-build}
out=$(mktemp /tmp/vorlinde-search-XXXXXX)
trap 'rm -f "$out"' EXIT
touch_memory() { "$build/bench/bench_floors" touch 2048; }
solve_ms() { sed -nE 's/^Solve time \.\.\.([0-9]+)ms$/\1/p'; }

ratios=()
for round in $(seq "$rounds"); do
  touch_memory
  tool=$("$build/vorlinde" -v "$graph" "$out" 2>&1 | solve_ms)
  touch_memory
  textbook=$("$build/bench/textbook_search_bench" "$graph" 2>&1 | solve_ms)
  ratio=$(awk -v a="$tool" -v b="$textbook" 'BEGIN { printf "%.3f", a / b }')
  ratios+=("$ratio")
  echo "round $round: vorlinde Solve ${tool} ms, textbook ${textbook} ms, ratio $ratio"
done
printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END {
  m = NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2
  printf "median ratio vorlinde Solve / textbook over %d rounds: %.3f\n", NR, m }'
