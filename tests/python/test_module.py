"""The Python module against the vorlinde binary's own files and messages."""

import errno
import gzip
import os
import re
import resource
import subprocess
import sys
from pathlib import Path

import numpy as np
import pytest

import vorlinde

BINARY = os.environ.get("VORLINDE_BINARY", str(Path(__file__).parents[2] / "build" / "vorlinde"))
INTEGER_TYPES = [np.int8, np.int16, np.int32, np.int64, np.uint8, np.uint16, np.uint32, np.uint64]


def run(*args, cwd=None):
    return subprocess.run([BINARY, *map(str, args)], cwd=cwd, capture_output=True, text=True)


def read_solution(path):
    table = np.loadtxt(path, dtype=np.int64, ndmin=2)
    return table[:, 1], table[:, 2]


def tied_graph(seed, nodes=120, edges=600):  # labels fit every dtype
    """Edges in random order, costs 0 to 3: many equally cheap paths, so the
    predecessors depend on the order of each source's edges."""
    rng = np.random.default_rng(seed)
    src = rng.integers(0, nodes, edges)
    src[:5] = 0
    return src, rng.integers(0, nodes, edges), rng.integers(0, 4, edges)


def write_edges(path, src, dst, cost):
    np.savetxt(path, np.column_stack([src, dst, cost]), fmt="%d")


@pytest.mark.parametrize("n, seed, max_edge", [(7, 1, 5), (60, 3, 6), (400, -9, 20)])
def test_random_graph_is_the_binarys_and_solves_as_it(tmp_path, n, seed, max_edge):
    theirs, ours, solution = tmp_path / "theirs.txt", tmp_path / "ours.txt", tmp_path / "s.txt"
    assert run("-c", n, "-s", seed, "-e", max_edge, theirs).returncode == 0
    graph = vorlinde.random_graph(n, seed, max_edge=max_edge)
    graph.save(ours)
    assert ours.read_bytes() == theirs.read_bytes()
    assert (graph.num_nodes, graph.num_edges) == (n, len(theirs.read_text().splitlines()))
    loaded = vorlinde.read_graph(theirs)
    assert all(np.array_equal(a, b) for a, b in zip(graph.edges(), loaded.edges()))

    assert run(theirs, solution).returncode == 0
    cost, pred = vorlinde.read_graph(str(theirs)).shortest_paths()
    assert (cost.dtype, pred.dtype) == (np.int32, np.int32)
    # Handed over, not copied: the array's memory belongs to an object of the module.
    assert cost.base is not None and not isinstance(cost.base, np.ndarray)
    vorlinde.save_solution(ours, cost, pred)
    assert ours.read_bytes() == solution.read_bytes()
    assert vorlinde.checksum(cost) == int(run("-h", "-p", solution).stdout)


@pytest.mark.parametrize("seed", [1, 2, 3])
def test_arrays_in_any_order_solve_as_their_graph_file(tmp_path, seed):
    src, dst, cost = tied_graph(seed)
    write_edges(tmp_path / "g.txt", src, dst, cost)
    assert run(tmp_path / "g.txt", tmp_path / "s.txt").returncode == 0
    expected = read_solution(tmp_path / "s.txt")
    for dtype in INTEGER_TYPES:
        graph = vorlinde.Graph(src.astype(dtype), dst.astype(dtype), cost.astype(dtype))
        got = graph.shortest_paths()
        assert all(np.array_equal(a, b) for a, b in zip(got, expected)), dtype
    got = vorlinde.Graph(list(src), list(dst), list(cost)).shortest_paths()
    assert all(np.array_equal(a, b) for a, b in zip(got, expected))


def format_texts(src, dst, cost):
    """The same graph in each format: (format, text, the node number of label 0)."""
    nodes, plain = max(src.max(), dst.max()) + 1, list(zip(src, dst, cost))
    return [
        ("edges", "".join(f"{a} {b} {c}\n" for a, b, c in plain), 0),
        ("dimacs", f"c tied\np sp {nodes} {len(src)}\n"
                   + "".join(f"a {a + 1} {b + 1} {c}\n" for a, b, c in plain), 1),
        ("snap", "# tied\n" + "".join(f"{a}\t{b}\t{c}\n" for a, b, c in plain), 0),
        ("mtx", "%%MatrixMarket matrix coordinate integer general\n"
                f"{nodes} {nodes} {len(src)}\n"
                + "".join(f"{a + 1} {b + 1} {c}\n" for a, b, c in plain), 1),
    ]


@pytest.mark.parametrize("packed", [False, True])
def test_every_format_reads_as_the_same_graph(tmp_path, packed):
    src, dst, cost = tied_graph(4)
    expected_cost, expected_pred = vorlinde.Graph(src, dst, cost).shortest_paths()
    for name, text, first in format_texts(src, dst, cost):
        path = tmp_path / f"g.{name}"
        path.write_bytes(gzip.compress(text.encode()) if packed else text.encode())
        for format in ["auto", name]:
            graph = vorlinde.read_graph(path, format=format)
            got_cost, got_pred = graph.shortest_paths()
            assert graph.first_node == first and got_cost[:first].tolist() == [-1] * first
            assert np.array_equal(got_cost[first:], expected_cost)
            shifted_pred = np.where(expected_pred < 0, -1, expected_pred + first)
            assert np.array_equal(got_pred[first:], shifted_pred)
    packed_text = gzip.compress(text.encode())
    path.write_bytes(packed_text[:len(packed_text) // 2])
    broken = f"^Bad graph file {path} line .*: gzip stream ends early$"
    with pytest.raises(ValueError, match=broken):
        vorlinde.read_graph(path)


@pytest.mark.parametrize("args, error, message", [
    (([0, 1], [1, 2], [3]), ValueError, "src, dst and cost differ in length (2, 2, 1)"),
    (([0, 1], [1, 2], [3, -5]), ValueError, "cost[1] is -5, not a cost from 0 to 2147483647"),
    (([0], [1], np.array([2**31], np.uint64)), ValueError, "cost[0] is 2147483648, not a cost"),
    (([0, -1], [1, 2], [3, 4]), ValueError, "src[1] is -1, not a node label from 0 to 2147483646"),
    (([0, 1], [1, 5], [3, 4], 5), ValueError, "dst[1] is 5, not a node label from 0 to 4"),
    (([0], [1], [1], 0), ValueError, "num_nodes is 0, not a node count from 1 to 2147483647"),
    (([0.5], [1], [1]), TypeError, "src must hold integers, not float64"),
    (([[0]], [[1]], [[1]]), ValueError, "src must be one-dimensional"),
])
def test_bad_arrays_raise(args, error, message):
    with pytest.raises(error) as raised:
        vorlinde.Graph(*args)
    assert str(raised.value).startswith(message)


@pytest.mark.parametrize("text", ["0 1 x\n", "0 1\n", "0 1 2 3\n", "0 1 2\n1 2 99999999999\n"])
def test_bad_graph_files_raise_the_binarys_message(tmp_path, text):
    path = tmp_path / "bad.txt"
    path.write_text(text)
    binary = run(path, tmp_path / "s.txt")
    assert binary.returncode == 255
    with pytest.raises(ValueError) as raised:
        vorlinde.read_graph(path, format="edges")
    assert "ERROR: " + str(raised.value) == binary.stderr.splitlines()[0]


def read_text(folder, text):
    (folder / "g").write_text(text)
    return vorlinde.read_graph(folder / "g")


@pytest.mark.parametrize("call, error, message", [
    (lambda d: vorlinde.read_graph(d / "missing.txt"), FileNotFoundError,
     "Can not open file {d}/missing.txt"),
    (lambda d: vorlinde.read_graph(d), IsADirectoryError, "Can not read file {d}"),
    (lambda d: vorlinde.random_graph(7, 1).save(d / "no" / "g.txt"), FileNotFoundError,
     "Can not open {d}/no/g.txt: No such file or directory"),
    (lambda d: vorlinde.save_solution(d / "no" / "s.txt", [0], [-1]), FileNotFoundError,
     "Can not open {d}/no/s.txt: No such file or directory"),
    (lambda d: vorlinde.random_graph(7, 1).save(d), IsADirectoryError,
     "Can not open {d}: Is a directory"),
    (lambda d: vorlinde.save_solution("/dev/full", [0], [-1]), OSError,
     "Can not write /dev/full: No space left on device"),
    (lambda d: vorlinde.save_solution(d / "s.txt", [0, 1], [-1]), ValueError,
     "cost and pred differ in length (2, 1)"),
    (lambda d: vorlinde.read_graph(d / "g.txt", format="gml"), ValueError,
     "format must be auto, edges, dimacs, snap, mtx or binary, not gml"),
    (lambda d: vorlinde.random_graph(6, 1), ValueError, "n is 6, not a node count from 7"),
    (lambda d: vorlinde.random_graph(7, 1, max_edge=7), ValueError,
     "max_edge is 7, not a number from 5 to 6"),
    (lambda d: vorlinde.Graph([0, 1], [1, 2], [2**31 - 1, 1]).shortest_paths(), ValueError,
     "Path cost of node 2 exceeds 2147483647"),
    (lambda d: vorlinde.random_graph(7, 1).shortest_paths(7), ValueError,
     "source is 7, not a node label from 0 to 6"),
    (lambda d: vorlinde.random_graph(7, 1).shortest_paths(sources=[1, -1]), ValueError,
     "sources[1] is -1, not a node label from 0 to 6"),
    (lambda d: vorlinde.random_graph(7, 1).shortest_paths(0, sources=[1]), TypeError,
     "give source or sources, not both"),
    (lambda d: vorlinde.random_graph(7, 1).path(0, 9), ValueError, "target is 9, not a node label"),
    (lambda d: vorlinde.random_graph(7, 1).shortest_paths(ties="first"), ValueError,
     'ties must be "heap" or "canonical", not "first"'),
    # Scalars of any type or size, and searches in a file of no nodes.
    (lambda d: vorlinde.random_graph(7, 1).shortest_paths(1.5), TypeError,
     "source must be an integer, not float"),
    (lambda d: vorlinde.random_graph(7, 1).shortest_paths("0"), TypeError,
     "source must be an integer, not str"),
    (lambda d: vorlinde.random_graph(7, 1).shortest_paths(2**70), ValueError,
     "source is 1180591620717411303424, not a node label from 0 to 6"),
    (lambda d: vorlinde.random_graph(7, 1).shortest_paths(max_cost=2.5), TypeError,
     "max_cost must be an integer, not float"),
    (lambda d: vorlinde.random_graph(7, 1).shortest_paths(sources=[0], threads=2**70), ValueError,
     "threads is 1180591620717411303424, not a thread count from 1 to 9223372036854775807"),
    (lambda d: vorlinde.random_graph(7, 1).path(0, -2**64), ValueError,
     "target is -18446744073709551616, not a node label from 0 to 6"),
    (lambda d: vorlinde.random_graph(7.0, 1), TypeError, "n must be an integer, not float"),
    (lambda d: vorlinde.random_graph(7, 2**40), ValueError,
     "seed is 1099511627776, not a seed from -2147483648 to 4294967295"),
    (lambda d: vorlinde.Graph([0], [1], [1], num_nodes=2**70), ValueError,
     "num_nodes is 1180591620717411303424, not a node count from 1 to 2147483647"),
    (lambda d: read_text(d, "p sp 0 0\n").shortest_paths(), ValueError,
     "the graph has no nodes: no source to search from"),
    (lambda d: read_text(d, "%%MatrixMarket matrix coordinate real general\n0 0 0\n").path(1, 1),
     ValueError, "source is 1, not a node label from 0 to 0"),
    (lambda d: (d / "e.mtx").write_text("") or vorlinde.read_graph(d / "e.mtx", format="mtx"),
     ValueError, "Bad graph file {d}/e.mtx line 1: empty file"),
])
def test_failures_raise_with_the_tools_messages(tmp_path, call, error, message):
    with pytest.raises(error) as raised:
        call(tmp_path)
    text = raised.value.strerror if isinstance(raised.value, OSError) else str(raised.value)
    assert text.startswith(message.format(d=tmp_path))
    if error is OSError:  # the system's reason, as errno
        assert raised.value.errno == errno.ENOSPC


@pytest.mark.parametrize("order", [">i2", ">i4", ">u4", ">i8"])
def test_arrays_in_the_other_byte_order_hold_the_same_numbers(tmp_path, order):
    arrays = tied_graph(5)
    graph = vorlinde.Graph(*arrays)
    swapped = vorlinde.Graph(*(array.astype(order) for array in arrays))
    assert all(np.array_equal(a, b) for a, b in zip(swapped.edges(), graph.edges()))
    sources = np.array([0, 5, 119])
    rows = graph.shortest_paths(sources=sources)
    assert np.array_equal(graph.shortest_paths(sources=sources.astype(order)), rows)
    assert np.array_equal(graph.shortest_paths(np.array(5, order)), graph.shortest_paths(5))
    cost, pred = np.array([0, 5, 300, 7]), np.array([0, 0, 1, 2])
    assert vorlinde.checksum(cost.astype(order)) == vorlinde.checksum(cost)
    vorlinde.save_solution(tmp_path / "native.txt", cost, pred)
    vorlinde.save_solution(tmp_path / "swapped.txt", cost.astype(order), pred.astype(order))
    assert (tmp_path / "swapped.txt").read_text() == (tmp_path / "native.txt").read_text()


UNMADE = ("this Graph was never made: make graphs with Graph(src, dst, cost), read_graph() or "
          "random_graph()")


@pytest.mark.parametrize("use", [
    lambda g: g.num_nodes, lambda g: g.num_edges, lambda g: g.first_node, lambda g: g.edges(),
    lambda g: g.shortest_paths(), lambda g: g.shortest_paths(sources=[0]), lambda g: g.path(0, 0),
    lambda g: g.save(os.devnull),
])
def test_a_graph_is_made_once_and_answers_only_when_made(use):
    unmade = vorlinde.Graph.__new__(vorlinde.Graph)
    with pytest.raises(TypeError, match=f"^{re.escape(UNMADE)}$"):
        use(unmade)
    assert repr(unmade) == "<vorlinde.Graph, never made>"
    unmade.__init__([0], [1], [5])
    use(unmade)
    with pytest.raises(TypeError, match="^this Graph is made already, and a graph never changes"):
        unmade.__init__([0, 1], [1, 2], [1, 1])
    assert (unmade.num_nodes, unmade.num_edges) == (2, 1)


OUT_OF_MEMORY = """
import resource, sys, numpy, vorlinde
case, room, packed = sys.argv[1], int(sys.argv[2]), sys.argv[3]
if case == "searches":
    graph = vorlinde.random_graph(2_000_000, 1)
    graph.shortest_paths(sources=[0], threads=1)
with open("/proc/self/statm") as statm:
    size = int(statm.read().split()[0]) * resource.getpagesize() + (room << 20)
resource.setrlimit(resource.RLIMIT_AS, (size, size))
try:
    if case == "generator":
        vorlinde.random_graph(50_000_000, 1)
    elif case == "searches":
        graph.shortest_paths(sources=[0, 1], threads=2)
    else:
        vorlinde.read_graph(packed)
except (MemoryError, ValueError) as error:
    print(type(error).__name__, error)
"""
NO_MEMORY = "MemoryError Can not allocate memory"


# MiB of room: enough for the results of the searches, not for the searches
# themselves; enough to start inflating in a thread of its own, not to finish;
# not enough for the nodes a label names, which is a bad line then.
@pytest.mark.parametrize("case, room, expected", [
    ("generator", 100, NO_MEMORY), ("searches", 40, NO_MEMORY), ("inflating", 20, NO_MEMORY),
    ("labels", 500, "ValueError Bad graph file .*g.txt.gz line 2: "
                    r"node 100000000 would need 2\.8 GB; 0\.[3-5] GB available")])
def test_running_out_of_memory_raises_instead_of_ending_the_process(tmp_path, case, room,
                                                                     expected):
    packed = tmp_path / "g.txt.gz"
    if case == "inflating":  # few nodes, so that the edges run out of memory first
        packed.write_bytes(gzip.compress(b"0 1 1\n" * 3_000_000, 1))
    if case == "labels":  # fits the memory of the machine, not the room
        packed.write_bytes(gzip.compress(b"0 1 1\n0 100000000 1\n"))
    done = subprocess.run([sys.executable, "-c", OUT_OF_MEMORY, case, str(room), packed],
                          capture_output=True, text=True)
    assert done.returncode == 0 and re.fullmatch(expected, done.stdout.strip()), done.stdout


@pytest.mark.parametrize("ties", ["heap", "canonical"])
def test_paths_follow_the_predecessors_and_several_sources_equal_one_at_a_time(ties):
    graph = vorlinde.Graph(*tied_graph(7))
    sources = [0, 5, 17, 5, 119]
    for max_cost in [None, 4]:
        rows = [graph.shortest_paths(source, max_cost, ties=ties, threads=1) for source in sources]
        for threads in [1, 3, None]:
            cost, pred = graph.shortest_paths(
                sources=np.array(sources), max_cost=max_cost, threads=threads, ties=ties)
            assert cost.shape == pred.shape == (len(sources), graph.num_nodes)
            assert np.array_equal(cost, [row[0] for row in rows])
            assert np.array_equal(pred, [row[1] for row in rows])
            # One source on several threads: the canonical answer is the same.
            one = graph.shortest_paths(17, max_cost, ties=ties, threads=threads)
            assert np.array_equal(one[0], rows[2][0]) and np.array_equal(one[1], rows[2][1])
    full_cost, _ = graph.shortest_paths(17, ties=ties)
    limited_cost, _ = rows[2]
    assert np.array_equal(limited_cost, np.where(full_cost > 4, -1, full_cost))
    assert np.array_equal(full_cost, graph.shortest_paths(17)[0])

    cost, pred = graph.shortest_paths(17, ties=ties)
    src, dst, edge_cost = graph.edges()
    cheapest = {}
    for a, b, c in zip(src, dst, edge_cost):
        cheapest[a, b] = min(c, cheapest.get((a, b), c))
    for target in range(graph.num_nodes):
        path = graph.path(17, target, ties=ties, threads=2)
        if cost[target] == -1:
            assert path is None
            continue
        assert path[0] == 17 and path[-1] == target
        assert all(pred[b] == a for a, b in zip(path, path[1:]))
        assert sum(cheapest[a, b] for a, b in zip(path, path[1:])) == cost[target]


def test_a_graph_too_large_for_memory_is_a_bad_file_and_leaves_no_file_open(tmp_path):
    (tmp_path / "g.txt").write_text("0 1 1\n0 2147483646 1\n")
    open_files = len(os.listdir("/proc/self/fd"))
    need = r"^Bad graph file .*g.txt line 2: node 2147483646 would need 60\.1 GB; \d+\.\d GB available$"
    # Under a bound, so that a host with room for 60 GB refuses it all the same.
    mapped = int(re.search(r"VmSize:\s+(\d+) kB", Path("/proc/self/status").read_text())[1]) * 1024
    bound = resource.getrlimit(resource.RLIMIT_AS)
    hard = bound[1] if bound[1] != resource.RLIM_INFINITY else mapped + (16 << 30)
    resource.setrlimit(resource.RLIMIT_AS, (min(mapped + (16 << 30), hard), bound[1]))
    try:
        for _ in range(3):
            with pytest.raises(ValueError, match=need):
                vorlinde.read_graph(tmp_path / "g.txt")
    finally:
        resource.setrlimit(resource.RLIMIT_AS, bound)
    assert len(os.listdir("/proc/self/fd")) == open_files


def test_large_answers_in_reused_memory_are_whole_and_their_own():
    # Arrays of over 4 MiB: the module keeps released ones for the next answers.
    n = 1_200_000
    chain = np.arange(n - 1)
    graph = vorlinde.Graph(chain, chain + 1, np.ones(n - 1, dtype=np.int64))
    released = graph.shortest_paths(0)
    del released
    for source in [0, 5, 0]:
        a = graph.shortest_paths(source)
        b = graph.shortest_paths(source, ties="canonical")
        assert not any(np.shares_memory(x, y) for x in a for y in b) and not np.shares_memory(*a)
        a[0][:] = -7
        a[1][:] = -7
        expected = np.where(np.arange(n) < source, -1, np.arange(n) - source)
        assert np.array_equal(b[0], expected)
        assert np.array_equal(b[1], np.where(np.arange(n) <= source, -1, np.arange(n) - 1))
        del a
