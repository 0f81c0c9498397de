#!/usr/bin/env bash
# The speed report, measured as users run the tool. Every figure comes from
# the binary's own timing lines, in a fresh process started right after 2 GiB
# were touched as huge pages: this virtual machine hands freed memory back to
# its host, and without that the first touches of the run would cost seconds
# per GiB, depending on the host rather than the tool. Each round alternates
# the tool with the floors of the same work, each a fresh process too:
#   load floor: reading the graph file in 32 KiB reads and counting newlines;
#   save floor: writing the solution file's bytes from memory in 32 KiB writes.
# Figures are medians over the rounds; ratios are medians of each round's own
# ratio, tool and floor measured side by side. The tool runs with 2 threads
# and with 1 (VORLINDE_THREADS), which gives the speedup.
#   bench/run_all.sh [BUILD_DIR [WORK_DIR [ROUNDS]]]   defaults: build, /tmp/vorlinde-bench, 3
# It needs about 2 GB of disk in WORK_DIR and takes several minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=${2:-/tmp/vorlinde-bench}
rounds=${3:-3}
bin=$build/vorlinde
floors=$build/bench/bench_floors
[ -x "$bin" ] && [ -x "$floors" ] || { echo "no $bin or $floors: build first (see README)"; exit 1; }
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
ms() { grep -F -- "$1" "$2" | tail -n 1 | sed -E 's/.*[^0-9-](-?[0-9]+)ms$/\1/'; }
fresh() { "$floors" touch 2048; }
# Runs the tool with $1 threads on the rest of the arguments; its stderr goes
# to $work/err, its peak resident size (KiB) to $work/rss.
tool() {
  local threads=$1
  shift
  fresh
  VORLINDE_THREADS=$threads /usr/bin/time -f '%M' -o "$work/rss" "$bin" "$@" 2>"$work/err" >"$work/out"
}

printf '%-8s %-14s %9s %9s %8s %9s %7s  %s\n' graph step "2 thr ms" "1 thr ms" speedup "floor ms" ratio note
for standard in "g1m 1000000 5 1" "g10m 10000000 5 1" "g3m-e20 3000000 20 7"; do
  read -r name n maxEdge seed <<<"$standard"
  graph=$work/$name.txt
  solution=$work/$name.sol
  tool 2 -c "$n" -s "$seed" -e "$maxEdge" "$graph"

  declare -A values=()
  add() { values[$1]+="$2"$'\n'; }
  for ((round = 1; round <= rounds; round++)); do
    fresh
    readFloor=$("$floors" read "$graph" | cut -d' ' -f1)
    tool 2 -v "$graph" "$solution"
    load2=$(ms 'Load time' "$work/err") save2=$(ms 'Save time' "$work/err")
    add solve2 "$(ms 'Solve time' "$work/err")"
    add total2 "$(ms 'Total time' "$work/err")"
    add peak "$(tail -n 1 "$work/rss")"
    mv "$solution" "$solution.2"
    fresh
    writeFloor=$("$floors" write "$solution.2" "$work/floor.out" | cut -d' ' -f1)
    tool 1 -v "$graph" "$solution"
    cmp -s "$solution" "$solution.2" || echo "$name: the solutions of 1 and 2 threads differ" >&2
    load1=$(ms 'Load time' "$work/err") save1=$(ms 'Save time' "$work/err")
    add solve1 "$(ms 'Solve time' "$work/err")"
    add total1 "$(ms 'Total time' "$work/err")"
    add load2 "$load2"; add load1 "$load1"; add save2 "$save2"; add save1 "$save1"
    add readFloor "$readFloor"; add writeFloor "$writeFloor"
    add loadRatio "$(ratio "$load2" "$readFloor")"; add saveRatio "$(ratio "$save2" "$writeFloor")"
    add loadSpeedup "$(ratio "$load1" "$load2")"; add saveSpeedup "$(ratio "$save1" "$save2")"
  done
  m() { printf '%s' "${values[$1]}" | median; }
  printf '%-8s %-14s %9s %9s %8s %9s %7s  %s\n' \
    "$name" load "$(m load2)" "$(m load1)" "$(m loadSpeedup)" "$(m readFloor)" "$(m loadRatio)" "target <= 2.0 on g10m" \
    "$name" "save solution" "$(m save2)" "$(m save1)" "$(m saveSpeedup)" "$(m writeFloor)" "$(m saveRatio)" "target <= 1.5 on g10m" \
    "$name" "solve" "$(m solve2)" "$(m solve1)" - - - "" \
    "$name" "total" "$(m total2)" "$(m total1)" - - - ""
  edges=$(wc -l <"$graph")
  arraysKiB=$(( (12 * edges + 28 * n) / 1024 ))
  limitKiB=$(( arraysKiB * 5 / 4 + 16 * 1024 ))
  peak=$(m peak)
  printf '%-8s %-14s %s\n' "$name" "peak memory" "$(awk -v p="$peak" -v a="$arraysKiB" -v l="$limitKiB" \
    'BEGIN { printf "%.0f MiB = %.2f x arrays (%d edges, 12 B each, 28 B per node); limit 1.25 x + 16 MiB = %.0f MiB: %s",
             p / 1024, p / a, '"$edges"', l / 1024, (p <= l ? "within" : "OVER") }')"
  tool 2 -h -p "$solution"
  printf '%-8s %-14s %s\n' "$name" "checksum" "$(cat "$work/out")"
  rm -f "$graph" "$solution" "$solution.2" "$work/floor.out"
  unset values
done
