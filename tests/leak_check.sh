#!/usr/bin/env bash
# Runs the binary under valgrind through a create, solve (heap and linear),
# test and every hash run, plus failing runs, and fails on any leak or memory
# error.  Usage: tests/leak_check.sh PATH_TO_VORLINDE
set -u
bin=$1
suppressions=$(cd "$(dirname "$0")" && pwd)/valgrind.supp
work=$(mktemp -d /tmp/vorlinde-leak-XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
failed=0
check() {
  valgrind --leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=all \
    --suppressions="$suppressions" --error-exitcode=99 -q "$bin" "$@" >/dev/null 2>valgrind.log
  if [ $? -eq 99 ]; then
    echo "leak or memory error: vorlinde $*"
    cat valgrind.log
    failed=1
  fi
}
check -v -c 500 -s 3 g.txt
check -v g.txt s.txt
check -v -l g.txt s2.txt
check -v -t g.txt s.txt
check -v -h -p s.txt
check -v -h -g g.txt -p s3.txt
check -v -h -n 500 -s 3 -g g2.txt
printf '0 1 5\n0 x 3\n' >bad.txt
check bad.txt out.txt
check -t g.txt missing.txt
check -t g.txt bad.txt
check missing.txt out.txt
check -c 10 no/such/folder/g.txt
check
exit $failed
