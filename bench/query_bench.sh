#!/usr/bin/env bash
# vorlinde-query against its baselines on the 10-million-node graph, as users
# run them: whole fresh processes, the two sides of each comparison taking
# turns, each run preceded by touching 2 GiB as huge pages (virtual machines
# that hand freed memory back to their host make the next first touch cost
# seconds per GiB, which would land on whichever run came first). Prints, per
# comparison, the median wall and processor seconds of both sides and the
# median of their ratios, round by round.
#   bench/query_bench.sh [BUILD_DIR] [WORK_DIR] [ROUNDS] [NODES]
#       defaults: build, /tmp/vorlinde-query-bench, 3, 10000000
# Needs about 3 GB of disk in WORK_DIR; a round takes a few minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=${2:-/tmp/vorlinde-query-bench}
rounds=${3:-3}
nodeCount=${4:-10000000}
bin=$build/vorlinde
query=$build/vorlinde-query
[ -x "$bin" ] && [ -x "$query" ] || { echo "no $bin or $query: build first (see README)"; exit 1; }
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

graph=$work/g10m.txt
"$bin" -c "$nodeCount" -s 1 "$graph"
read -r nodes arcs < <(awk '$1 + 1 > n { n = $1 + 1 } $2 + 1 > n { n = $2 + 1 } END { print n, NR }' "$graph")
{
  echo "c g10m as a DIMACS shortest-path graph"
  echo "p sp $nodes $arcs"
  awk '{ print "a", $1 + 1, $2 + 1, $3 }' "$graph"
} >"$work/g10m.gr"
gzip -1 -c "$graph" >"$work/g10m.txt.gz"

touch_memory() {
  python3 -c '
import mmap
size = 2 << 30
block = mmap.mmap(-1, size, flags=mmap.MAP_PRIVATE | mmap.MAP_ANONYMOUS)
block.madvise(mmap.MADV_HUGEPAGE)
chunk = b"\1" * (1 << 26)
for offset in range(0, size, len(chunk)):
    block[offset:offset + len(chunk)] = chunk
block.close()'
}

# timed NAME COMMAND...: one fresh run; appends "wall cpu" to $work/NAME, and
# the query's own reading time (ms) to $work/NAME.read when it prints one.
timed() {
  local name=$1
  shift
  touch_memory
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >/dev/null 2>"$work/err" || { cat "$work/err"; exit 1; }
  awk '{ print $1, $2 + $3 }' "$work/time" >>"$work/$name"
  sed -nE 's/^Read .* in ([0-9]+) ms$/\1/p' "$work/err" >>"$work/$name.read"
  rm -f "$work"/out-*.sol
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
column() { awk -v c="$2" '{ print $c }' "$work/$1"; }
ratios() { paste -d ' ' "$work/$1" "$work/$2" | awk -v c="$3" '{ printf "%.3f\n", $c / $(c + 2) }' | median; }

eight=(-s 0 -s 1 -s 2 -s 3 -s 4 -s 5 -s 6 -s 7)
separately='for s in 0 1 2 3 4 5 6 7; do "$0" -q -s "$s" -o "$1/out-$s.sol" "$2" || exit 1; done'
for ((round = 1; round <= rounds; ++round)); do
  timed plain "$query" -q -o "$work/out-q.sol" "$graph"
  timed vorlinde "$bin" "$graph" "$work/out-v.sol"
  timed dimacs "$query" -q -o "$work/out-d.sol" "$work/g10m.gr"
  timed vorlinde2 "$bin" "$graph" "$work/out-v.sol"
  timed gzip "$query" -o "$work/out-z.sol" "$work/g10m.txt.gz"
  timed zcat sh -c 'exec zcat "$0" >/dev/null' "$work/g10m.txt.gz"
  timed eight "$query" -q -j 2 "${eight[@]}" -o "$work/out-{source}.sol" "$graph"
  timed separate sh -c "$separately" "$query" "$work" "$graph"
done

report() {  # NAME_A NAME_B WHAT LIMIT
  printf '%-52s %7s %7s %7s %7s %7s %7s  %s\n' "$3" "$(column "$1" 1 | median)" "$(column "$2" 1 | median)" \
    "$(ratios "$1" "$2" 1)" "$(column "$1" 2 | median)" "$(column "$2" 2 | median)" "$(ratios "$1" "$2" 2)" "$4"
}
echo "$rounds rounds, medians; wall and cpu (user + system) seconds; ratio A/B per round, median"
printf '%-52s %7s %7s %7s %7s %7s %7s  %s\n' "A vs B" "wallA" "wallB" "ratio" "cpuA" "cpuB" "ratio" "aim"
report plain vorlinde "query -o out g10m.txt vs vorlinde g10m.txt out" "<= 1.1"
report dimacs vorlinde2 "query -o out g10m.gr vs vorlinde g10m.txt out" "<= 1.2"
report eight separate "query -j 2 with 8 sources vs 8 separate query runs" "<= 0.6"
gzipRead=$(median <"$work/gzip.read")
zcatWall=$(column zcat 1 | median)
echo "reading g10m.txt.gz: the query's read time ${gzipRead}ms vs zcat alone ${zcatWall}s:" \
  "$(awk -v r="$gzipRead" -v z="$zcatWall" 'BEGIN { printf "%.3f", r / 1000 / z }') (aim <= 1.2);" \
  "whole gzip query run $(column gzip 1 | median)s"
