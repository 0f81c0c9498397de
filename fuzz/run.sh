#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of
# seconds from the seed corpus in fuzz/corpus (copied, so the kept corpus does
# not change). The program's own messages are silenced (-close_fd_mask);
# libFuzzer and the sanitizers still report. Any crash, sanitizer report, hang or disagreement fails.
#   fuzz/run.sh SECONDS [TARGET...]     targets: graph_file graph_formats solution_file command_line
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(graph_file graph_formats solution_file command_line)

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVORLINDE_FUZZ=ON -DVORLINDE_TESTS=OFF -DVORLINDE_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j2 >/dev/null

passed=0
failed=0
for target in "${targets[@]}"; do
  work=$(mktemp -d /tmp/vorlinde-fuzz-corpus-XXXXXX)
  cp fuzz/corpus/"$target"/* "$work"/
  log=build-fuzz/fuzz/fuzz_"$target".log
  echo "fuzz_$target: ${seconds}s"
  if (cd build-fuzz/fuzz && ./fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -close_fd_mask=3 \
        -print_final_stats=1 "$work") >"$log" 2>&1; then
    grep -E '^(stat::number_of_executed_units|Done )' "$log" || true
    passed=$((passed + 1))
  else
    tail -n 40 "$log"
    echo "fuzz_$target FAILED (log: $log; the crashing input is in build-fuzz/fuzz/)"
    failed=$((failed + 1))
  fi
  rm -rf "$work"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
