"""Many searches on one graph, spread over the workers of a dask.distributed cluster.

    from distributed import Client
    import vorlinde.dask
    client = Client("tcp://scheduler:8786")
    matrix = vorlinde.dask.distance_matrix(client, "/shared/roads.vgraph", sources, targets)
    vorlinde.dask.solve_to_files(client, "/shared/roads.vgraph", sources, "/shared/out-{source}.txt")

The sources go to the workers in chunks. Each worker process reads the graph
once and keeps it for the next chunks and calls, as long as the file keeps its
path, size and modification time; every worker must be able to read the graph
at the same path (a shared filesystem). A binary graph file (Graph.save(path,
format="binary"), vorlinde-query --convert) makes that read a mapping of the
file, shared by the worker processes of one machine.

A chunk's result depends on nothing but its sources, so a worker lost in the
middle of a job costs only the time to run its chunks again elsewhere: the
result is the same, no row lost or doubled. Files are replaced whole or not
at all, so a cancelled or killed job leaves no half-written file.

From the shell (without --scheduler, a cluster of this machine's cores):

    python3 -m vorlinde.dask [--scheduler ADDRESS] GRAPH --sources FILE --targets FILE [-o matrix.tsv]

This module needs Debian's python3-distributed; `import vorlinde` does not.
"""

import argparse
import math
import os
import sys
import threading

import numpy as np

import vorlinde

__all__ = ["distance_matrix", "solve_to_files"]

# Graphs a worker process keeps, newest last: (path, size, mtime) -> Graph.
_kept_graphs = {}
_kept_lock = threading.Lock()
_MOST_KEPT = 2


def _graph(path):
    """The graph at path, read once per worker process while the file stays the same."""
    status = os.stat(path)
    key = (path, status.st_size, status.st_mtime_ns)
    with _kept_lock:  # a worker's threads share one reading
        graph = _kept_graphs.get(key)
        if graph is None:
            graph = vorlinde.read_graph(path)
            while len(_kept_graphs) >= _MOST_KEPT:
                del _kept_graphs[next(iter(_kept_graphs))]
            _kept_graphs[key] = graph
        return graph


def _matrix_rows(path, sources, targets, max_cost):
    # One thread per task: the worker runs as many tasks at once as it has threads.
    return _graph(path).distance_matrix(sources, targets, max_cost=max_cost, threads=1)


def _solution_files(path, sources, pattern, max_cost):
    graph = _graph(path)
    written = []
    for source in sources:
        cost, pred = graph.shortest_paths(int(source), max_cost=max_cost)
        output = pattern.replace("{source}", str(source))
        vorlinde.save_solution(output, cost, pred, first_node=graph.first_node)
        written.append(output)
    return written


def _labels(values, name):
    labels = np.asarray(values)
    if labels.ndim != 1 or (labels.size > 0 and labels.dtype.kind not in "iu"):
        raise TypeError(f"{name} must be a one-dimensional sequence of integers")
    return labels.astype(np.int64)


def _chunks(count, client, chunk_size):
    """Index ranges of the sources: by default about two chunks per worker thread,
    so that the workers finish close together and a lost one costs little."""
    if chunk_size is None:
        threads = max(1, sum(client.nthreads().values()))
        chunk_size = max(1, math.ceil(count / (2 * threads)))
    elif chunk_size < 1:
        raise ValueError(f"chunk_size is {chunk_size}, not 1 or more")
    return [(first, min(first + chunk_size, count)) for first in range(0, count, chunk_size)]


def distance_matrix(client, graph_path, sources, targets, max_cost=None, chunk_size=None):
    """The array of Graph.distance_matrix(sources, targets, max_cost), computed on
    the workers of client: int32, shape (len(sources), len(targets)), -1 where no
    path is. chunk_size sources go to one task (default: about two tasks per
    worker thread). Errors of the graph or the arguments raise as in Graph."""
    from distributed import as_completed

    path = os.path.abspath(graph_path)
    sources = _labels(sources, "sources")
    targets = _labels(targets, "targets")
    matrix = np.empty((len(sources), len(targets)), dtype=np.int32)
    if len(sources) == 0:
        return matrix
    chunks = _chunks(len(sources), client, chunk_size)
    shared_targets = client.scatter(targets, broadcast=True, hash=False)
    futures = {
        client.submit(_matrix_rows, path, sources[first:end], shared_targets, max_cost,
                      pure=False): (first, end)
        for first, end in chunks
    }
    try:
        for future, rows in as_completed(futures, with_results=True):
            first, end = futures[future]
            matrix[first:end] = rows
    finally:
        client.cancel(list(futures) + [shared_targets])
    return matrix


def solve_to_files(client, graph_path, sources, pattern, max_cost=None, chunk_size=None):
    """Writes the solution of each source to pattern with "{source}" replaced by
    its number, as `vorlinde-query -o PATTERN` does (lines "node cost pred" from
    the graph's first node on), on the workers of client. Each source is solved
    once, however often given. Returns the paths written, in source order."""
    from distributed import wait

    path = os.path.abspath(graph_path)
    unique = list(dict.fromkeys(int(source) for source in _labels(sources, "sources")))
    if len(unique) > 1 and "{source}" not in pattern:
        raise ValueError("several sources need a pattern with '{source}'")
    chunks = _chunks(len(unique), client, chunk_size)
    futures = [
        client.submit(_solution_files, path, unique[first:end], pattern, max_cost, pure=False)
        for first, end in chunks
    ]
    try:
        wait(futures)
        return [output for paths in client.gather(futures) for output in paths]
    finally:
        client.cancel(futures)


def read_node_file(path):
    """Node numbers of a file with one a line, as vorlinde-query's --sources and
    --targets read them: blank lines, "#" and "c" comments and "p" lines are
    skipped, and a DIMACS .ss line "s N" gives N."""
    nodes = []
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            fields = line.split()
            if not fields or fields[0][0] in "#cp":
                continue
            if fields[0] == "s":
                fields = fields[1:]
            if len(fields) != 1 or not fields[0].isdigit():
                raise ValueError(f"Bad node file {path} line {number}: one node number a line")
            nodes.append(int(fields[0]))
    return nodes


def main(argv=None):
    parser = argparse.ArgumentParser(
        prog="python3 -m vorlinde.dask",
        description="The table of path costs from sources to targets (as vorlinde-query "
                    "--matrix writes it), computed on a dask.distributed cluster.")
    parser.add_argument("graph", help="graph file, at the same path on every worker")
    parser.add_argument("--scheduler", help="address of the cluster's scheduler; default: "
                                            "a local cluster of this machine's cores")
    parser.add_argument("--sources", required=True, help="source nodes, one a line")
    parser.add_argument("--targets", required=True, help="target nodes, one a line")
    parser.add_argument("-o", "--output", default="-", help="the table's file; default: "
                                                            "standard output")
    parser.add_argument("--max-cost", type=int, default=None, help="no path costs more")
    parser.add_argument("--chunk-size", type=int, default=None, help="sources per task")
    options = parser.parse_args(argv)
    try:
        from distributed import Client, LocalCluster
        # By its name, not as __main__: the workers must find the functions
        # (and each its kept graphs) in the module, not receive copies.
        import vorlinde.dask as by_name
    except ImportError:
        print("vorlinde.dask: needs dask.distributed (Debian: python3-distributed)", file=sys.stderr)
        return 1
    try:
        sources = by_name.read_node_file(options.sources)
        targets = by_name.read_node_file(options.targets)
        if options.scheduler:
            client, cluster = Client(options.scheduler), None
        else:
            cluster = LocalCluster(n_workers=os.cpu_count() or 1, threads_per_worker=1,
                                   processes=True, dashboard_address=None)
            client = Client(cluster)
        try:
            matrix = by_name.distance_matrix(client, options.graph, sources, targets,
                                     max_cost=options.max_cost, chunk_size=options.chunk_size)
        finally:
            client.close()
            if cluster is not None:
                cluster.close()
        output = "/dev/stdout" if options.output == "-" else options.output
        vorlinde.save_matrix(output, sources, targets, matrix)
    except (OSError, ValueError, TypeError) as error:
        print(f"vorlinde.dask: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
