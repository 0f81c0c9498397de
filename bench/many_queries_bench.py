#!/usr/bin/python3
"""Many queries on one graph: binary against text load, and a distance matrix three ways.

  /usr/bin/python3 bench/many_queries_bench.py BUILD WORK [--rounds 3] [--load g10m.wel kron21.wel]
        [--matrix grid9m.wel] [--sources 64] [--targets 1000] [--no-scipy]

1. Load: for every graph of --load, the text and its binary file (made once in WORK with
   vorlinde-query --convert) are read by vorlinde.read_graph, each in a fresh process, taking
   turns, round after round; memory is touched as huge pages before each run (BUILD/bench/
   bench_floors touch). Both files are in the page cache (one untimed read first).
2. Matrix, on the graph of --matrix (its binary file): SOURCES x TARGETS nodes drawn with a
   fixed seed; g.distance_matrix(threads=2) in this process, vorlinde.dask.distance_matrix on a
   LocalCluster(n_workers=2, threads_per_worker=1, processes=True) (the first call, whose
   workers read the graph, and a second one), and scipy's csgraph.dijkstra(indices=sources)
   on the same edges as a CSR matrix (building it not timed). Every answer must be the same.

Prints milliseconds: medians with every round in brackets. Needs numpy, python3-distributed
and, for the comparison, python3-scipy (not a dependency of the project).
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

LOAD_ONE = """
import sys, time, vorlinde
start = time.perf_counter()
g = vorlinde.read_graph(sys.argv[1])
print(round(1000 * (time.perf_counter() - start), 1), g.num_nodes, g.num_edges)
"""


def touch(build):
    subprocess.run([os.path.join(build, "bench", "bench_floors"), "touch"], check=True,
                   stdout=subprocess.DEVNULL)


def fresh_load(build, path):
    touch(build)
    env = dict(os.environ, PYTHONPATH=os.path.join(build, "python"))
    out = subprocess.run([sys.executable, "-c", LOAD_ONE, path], env=env, check=True,
                         capture_output=True, text=True).stdout.split()
    return float(out[0]), (int(out[1]), int(out[2]))


def binary_of(build, work, text):
    binary = os.path.join(work, os.path.basename(text).rsplit(".", 1)[0] + ".vgraph")
    if not os.path.exists(binary):
        subprocess.run([os.path.join(build, "vorlinde-query"), "-q", "--convert", binary, text],
                       check=True)
    return binary


def shown(times):
    return f"{statistics.median(times):8.0f} ({' '.join(f'{t:.0f}' for t in times)})"


def compare_loads(build, work, texts, rounds):
    print("load in a fresh process (vorlinde.read_graph), ms")
    for text in texts:
        binary = binary_of(build, work, text)
        sizes = {fresh_load(build, path)[1] for path in (text, binary)}  # page cache, same graph
        assert len(sizes) == 1, sizes
        times = {text: [], binary: []}
        for _ in range(rounds):
            for path in (text, binary):
                times[path].append(fresh_load(build, path)[0])
        ratio = statistics.median(times[binary]) / statistics.median(times[text])
        print(f"  {os.path.basename(text):14s} text {shown(times[text])}   binary {shown(times[binary])}"
              f"   ratio {ratio:.2f}", flush=True)


def timed(call):
    start = time.perf_counter()
    result = call()
    return 1000 * (time.perf_counter() - start), result


def compare_matrices(build, work, text, source_count, target_count, rounds, with_scipy):
    import numpy as np
    import vorlinde
    import vorlinde.dask
    from distributed import Client, LocalCluster

    binary = binary_of(build, work, text)
    g = vorlinde.read_graph(binary)
    rng = np.random.default_rng(1)
    sources = rng.choice(g.num_nodes, source_count, replace=False)
    targets = rng.choice(g.num_nodes, target_count, replace=False)
    print(f"{source_count} x {target_count} matrix on {os.path.basename(text)}, ms", flush=True)
    here, expected = [], None
    for _ in range(rounds):
        ms, matrix = timed(lambda: g.distance_matrix(sources, targets, threads=2))
        here.append(ms)
        expected = matrix if expected is None else expected
        assert np.array_equal(matrix, expected)
    print(f"  in this process, threads=2    {shown(here)}", flush=True)

    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                      dashboard_address=None) as cluster, Client(cluster) as client:
        first, matrix = timed(lambda: vorlinde.dask.distance_matrix(client, binary, sources, targets))
        assert np.array_equal(matrix, expected)
        again = []
        for _ in range(rounds):
            ms, matrix = timed(lambda: vorlinde.dask.distance_matrix(client, binary, sources, targets))
            again.append(ms)
            assert np.array_equal(matrix, expected)
    print(f"  2-worker LocalCluster, first  {first:8.0f} (the workers read the graph)")
    print(f"  2-worker LocalCluster, later  {shown(again)}   ratio to this process "
          f"{statistics.median(again) / statistics.median(here):.2f}", flush=True)

    if with_scipy:
        from scipy.sparse import csr_matrix
        from scipy.sparse.csgraph import dijkstra
        src, dst, cost = g.edges()
        n = g.num_nodes
        del g
        graph = csr_matrix((cost.astype(np.float64), (src, dst)), shape=(n, n))
        del src, dst, cost
        ms, full = timed(lambda: dijkstra(graph, directed=True, indices=sources))
        picked = full[:, targets]
        del full
        theirs = np.where(np.isinf(picked), -1, picked).astype(np.int64)
        assert np.array_equal(theirs, expected), "scipy disagrees"
        print(f"  scipy csgraph.dijkstra        {ms:8.0f} (one run, one thread)", flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build")
    parser.add_argument("work")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--load", nargs="*", default=[])
    parser.add_argument("--matrix")
    parser.add_argument("--sources", type=int, default=64)
    parser.add_argument("--targets", type=int, default=1000)
    parser.add_argument("--no-scipy", action="store_true")
    options = parser.parse_args()
    build = os.path.abspath(options.build)
    sys.path.insert(0, os.path.join(build, "python"))
    os.makedirs(options.work, exist_ok=True)
    print(f"load: {os.getloadavg()[0]:.2f}", flush=True)
    if options.load:
        compare_loads(build, options.work, options.load, options.rounds)
    if options.matrix:
        compare_matrices(build, options.work, options.matrix, options.sources, options.targets,
                         options.rounds, not options.no_scipy)
    print(f"load: {os.getloadavg()[0]:.2f}", flush=True)


if __name__ == "__main__":
    main()
