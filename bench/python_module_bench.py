#!/usr/bin/python3
"""The Python module against what Python users have and against the tool itself.

On the standard graphs g1m and g10m, each in fresh processes as users run them,
taking turns, with the medians and ratios of one run:
  module   /usr/bin/python3: import vorlinde; read_graph(g); shortest_paths()
  scipy    numpy text read (np.loadtxt) + CSR matrix + scipy.sparse.csgraph.dijkstra
  tool     vorlinde -v g out (its own load and solve times, and the whole process)
Before every timed run 2 GiB are touched as huge pages and given back, so that no
run pays for first touches that an earlier one left to it.

  /usr/bin/python3 bench/python_module_bench.py [--build build] [--work DIR]
      [--graphs g1m g10m] [--rounds 3] [--scipy-rounds 1]

Needs scipy for Debian's Python: apt-get install python3-scipy (the project's
install script does not install it; nothing else uses it). The checksums of the
module's and scipy's costs are printed and must agree.
"""

import argparse
import json
import mmap
import os
import statistics
import subprocess
import sys
import time
from pathlib import Path

GRAPHS = {"g1m": (1000000, 1, 5), "g10m": (10000000, 1, 5)}

MODULE_RUN = """
import json, sys, time
start = time.perf_counter()
import numpy  # what the results are made of; users have it loaded anyway
import vorlinde
imported = time.perf_counter()
graph = vorlinde.read_graph(sys.argv[1])
loaded = time.perf_counter()
cost, pred = graph.shortest_paths()
solved = time.perf_counter()
print(json.dumps({"import": imported - start, "load": loaded - imported, "solve": solved - loaded,
                  "checksum": vorlinde.checksum(cost)}))
"""

SCIPY_RUN = """
import json, sys, time
start = time.perf_counter()
import numpy as np
from scipy.sparse import csr_matrix
from scipy.sparse.csgraph import dijkstra
imported = time.perf_counter()
edges = np.loadtxt(sys.argv[1], dtype=np.int64, ndmin=2)
read = time.perf_counter()
nodes = int(edges[:, :2].max()) + 1
# Generated graphs have no parallel edges, which a CSR matrix would add up.
matrix = csr_matrix((edges[:, 2], (edges[:, 0], edges[:, 1])), shape=(nodes, nodes))
built = time.perf_counter()
dist, pred = dijkstra(matrix, indices=0, return_predecessors=True)
solved = time.perf_counter()
import vorlinde
cost = np.where(np.isinf(dist), -1, dist).astype(np.int64)
print(json.dumps({"import": imported - start, "load": built - imported, "read": read - imported,
                  "solve": solved - built, "checksum": vorlinde.checksum(cost)}))
"""


def touch_huge_pages(size=2 << 30):
    """This VM hands freed memory back to its host; the next first touch costs
    seconds per GiB. Touching it here keeps that out of the timed runs."""
    block = mmap.mmap(-1, size, flags=mmap.MAP_PRIVATE | mmap.MAP_ANONYMOUS)
    if hasattr(mmap, "MADV_HUGEPAGE"):
        block.madvise(mmap.MADV_HUGEPAGE)
    chunk = b"\1" * (64 << 20)
    for offset in range(0, size, len(chunk)):
        block[offset:offset + len(chunk)] = chunk
    block.close()


def timed(command, env=None):
    touch_huge_pages()
    start = time.perf_counter()
    done = subprocess.run(command, capture_output=True, text=True, env=env)
    wall = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit(f"failed: {' '.join(map(str, command))}\n{done.stderr}")
    return wall, done


def tool_times(binary, graph, out):
    wall, done = timed([binary, "-v", graph, out])
    ms = {line.split("...")[0].strip(): int(line.rstrip("ms").rsplit(".", 1)[-1])
          for line in done.stderr.splitlines() if line.endswith("ms") and "..." in line}
    return {"wall": wall, "load": ms["Load time"] / 1000, "solve": ms["Solve time"] / 1000}


def python_times(script, graph, env):
    wall, done = timed([sys.executable, "-c", script, graph], env)
    result = json.loads(done.stdout)
    result["wall"] = wall
    return result


def median(runs, key):
    return statistics.median(run[key] for run in runs)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--work", default="/tmp/vorlinde-pybench")
    parser.add_argument("--graphs", nargs="+", default=list(GRAPHS), choices=list(GRAPHS))
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--scipy-rounds", type=int, default=1)
    args = parser.parse_args()

    build = Path(args.build).resolve()
    binary = build / "vorlinde"
    env = dict(os.environ, PYTHONPATH=str(build / "python"))
    work = Path(args.work)
    work.mkdir(parents=True, exist_ok=True)
    try:
        import scipy  # noqa: F401
    except ImportError:
        sys.exit("needs scipy for /usr/bin/python3: apt-get install python3-scipy")

    for name in args.graphs:
        graph = work / f"{name}.txt"
        nodes, seed, max_edge = GRAPHS[name]
        if not graph.exists():
            subprocess.run([binary, "-c", str(nodes), "-s", str(seed), "-e", str(max_edge), graph],
                           check=True)
        tool, module, scipy_runs = [], [], []
        for round_number in range(args.rounds):
            turns = [lambda: tool.append(tool_times(binary, graph, work / "out.txt")),
                     lambda: module.append(python_times(MODULE_RUN, graph, env))]
            if round_number < args.scipy_rounds:
                turns.append(lambda: scipy_runs.append(python_times(SCIPY_RUN, graph, env)))
            shift = round_number % len(turns)
            for turn in turns[shift:] + turns[:shift]:
                turn()
        (work / "out.txt").unlink(missing_ok=True)

        tool_core = median(tool, "load") + median(tool, "solve")
        module_core = median(module, "load") + median(module, "solve")
        scipy_count = min(args.scipy_rounds, args.rounds)
        print(f"{name}: {args.rounds} rounds (scipy {scipy_count}), medians in seconds")
        print(f"  tool    load {median(tool, 'load'):7.2f}  solve {median(tool, 'solve'):7.2f}"
              f"  process {median(tool, 'wall'):7.2f}  (process includes writing the solution)")
        print(f"  module  load {median(module, 'load'):7.2f}  solve {median(module, 'solve'):7.2f}"
              f"  process {median(module, 'wall'):7.2f}  checksum {module[0]['checksum']}")
        print("  module read_graph + shortest_paths / tool load + solve:"
              f" {module_core / tool_core:.3f}")
        if scipy_runs:
            scipy_core = median(scipy_runs, "load") + median(scipy_runs, "solve")
            print(f"  scipy   load {median(scipy_runs, 'load'):7.2f}"
                  f" (text {median(scipy_runs, 'read'):.2f})"
                  f"  solve {median(scipy_runs, 'solve'):7.2f}"
                  f"  process {median(scipy_runs, 'wall'):7.2f}"
                  f"  checksum {scipy_runs[0]['checksum']}")
            print(f"  module / scipy: read+search {module_core / scipy_core:.3f},"
                  f" whole process {median(module, 'wall') / median(scipy_runs, 'wall'):.3f}")


if __name__ == "__main__":
    main()
