"""Binary graph files, distance matrices, a Dask cluster and Ctrl-C, as a user meets them."""

import os
import signal
import subprocess
import sys
import threading
import time

import numpy as np
import pytest

import vorlinde

QUERY = os.path.join(os.path.dirname(os.environ.get("VORLINDE_BINARY", "build/vorlinde")),
                     "vorlinde-query")


def tied_graph(seed, nodes=300, edges=1500):
    rng = np.random.default_rng(seed)
    return rng.integers(0, nodes, edges), rng.integers(0, nodes, edges), rng.integers(0, 4, edges)


def graph_texts(src, dst, cost):
    nodes, plain = max(src.max(), dst.max()) + 1, list(zip(src, dst, cost))
    return {
        "edges": "".join(f"{a} {b} {c}\n" for a, b, c in plain),
        "dimacs": f"p sp {nodes} {len(src)}\n" + "".join(f"a {a + 1} {b + 1} {c}\n" for a, b, c in plain),
        "snap": "# snap\n" + "".join(f"{a} {b} {c}\n" for a, b, c in plain),
        "mtx": f"%%MatrixMarket matrix coordinate integer general\n{nodes} {nodes} {len(src)}\n"
               + "".join(f"{a + 1} {b + 1} {c}\n" for a, b, c in plain),
    }


@pytest.mark.parametrize("name", ["edges", "dimacs", "snap", "mtx"])
def test_binary_file_of_every_format_answers_as_its_text(tmp_path, name):
    text = tmp_path / f"g.{name}"
    text.write_text(graph_texts(*tied_graph(7))[name])
    graph = vorlinde.read_graph(text)
    graph.save(tmp_path / "a.bin", format="binary")
    assert subprocess.run([QUERY, "-q", "--convert", tmp_path / "b.bin", text]).returncode == 0
    assert (tmp_path / "a.bin").read_bytes() == (tmp_path / "b.bin").read_bytes()
    mapped = vorlinde.read_graph(tmp_path / "a.bin")
    assert (mapped.num_nodes, mapped.num_edges, mapped.first_node) == \
        (graph.num_nodes, graph.num_edges, graph.first_node)
    assert all(np.array_equal(a, b) for a, b in zip(mapped.edges(), graph.edges()))
    for source in (graph.first_node, 17):
        assert all(np.array_equal(a, b) for a, b in
                   zip(mapped.shortest_paths(source), graph.shortest_paths(source)))
    # The query tool answers from both alike, node numbers the file's own.
    args = ["-q", "-s", str(graph.first_node), "-t", "20"]
    assert subprocess.run([QUERY, *args, tmp_path / "a.bin"], capture_output=True).stdout == \
        subprocess.run([QUERY, *args, text], capture_output=True).stdout


def test_damaged_binary_file_is_a_value_error(tmp_path):
    vorlinde.Graph(*tied_graph(3)).save(tmp_path / "g.bin", format="binary")
    data = bytearray((tmp_path / "g.bin").read_bytes())
    data[-5] ^= 0x40
    (tmp_path / "g.bin").write_bytes(bytes(data))
    with pytest.raises(ValueError, match=r"^Bad graph file .*g\.bin: the edges do not match their checksum$"):
        vorlinde.read_graph(tmp_path / "g.bin")
    with pytest.raises(ValueError, match="format must be edges or binary"):
        vorlinde.Graph([0], [1], [1]).save(tmp_path / "x", format="dimacs")


def test_matrix_rows_are_the_single_searches(tmp_path):
    graph = vorlinde.Graph(*tied_graph(5))
    sources, targets = [3, 0, 3, 299], [5, 5, 0, 100, 299, 42]
    for max_cost in (None, 2):
        matrix = graph.distance_matrix(sources, targets, max_cost=max_cost, threads=2)
        assert matrix.dtype == np.int32 and matrix.shape == (4, 6)
        for row, source in zip(matrix, sources):
            assert np.array_equal(row, graph.shortest_paths(source, max_cost=max_cost)[0][targets])
    assert graph.distance_matrix([], [1]).shape == (0, 1)
    with pytest.raises(ValueError, match="targets"):
        graph.distance_matrix([0], [300])
    # The command line prints the same table, rows and columns as given.
    graph.save(tmp_path / "g.txt")
    (tmp_path / "t.txt").write_text("".join(f"{t}\n" for t in targets))
    args = [QUERY, "-q", "--matrix", "--targets", tmp_path / "t.txt", tmp_path / "g.txt"]
    table = subprocess.run(args + [a for s in sources for a in ("-s", str(s))],
                           capture_output=True, text=True).stdout
    vorlinde.save_matrix(tmp_path / "m.tsv", sources, targets, graph.distance_matrix(sources, targets))
    assert table == (tmp_path / "m.tsv").read_text()
    assert table.splitlines()[0] == "source\t5\t5\t0\t100\t299\t42"


SLOW_CALL = """
import sys, time, vorlinde
g = vorlinde.random_graph(200000, 1)
print("ready", flush=True)
try:
    {call}
    print("finished", flush=True)
except KeyboardInterrupt:
    print("interrupted", flush=True)
print(g.path(0, 5) is not None, flush=True)
"""


# Each call takes some seconds to finish; the stop must come well before.
@pytest.mark.parametrize("call", ["g.distance_matrix(list(range(2000)), [5])",
                                  "g.shortest_paths(sources=[0] * 1000, threads=1)",
                                  "g.shortest_paths(sources=[0] * 1000, ties='canonical')"])
def test_ctrl_c_stops_a_long_call_and_the_graph_stays_usable(call):
    process = subprocess.Popen([sys.executable, "-c", SLOW_CALL.format(call=call)],
                               stdout=subprocess.PIPE, text=True)
    assert process.stdout.readline() == "ready\n"
    time.sleep(0.3)
    process.send_signal(signal.SIGINT)
    sent = time.monotonic()
    out, _ = process.communicate(timeout=10)
    assert time.monotonic() - sent < 2
    assert out == "interrupted\nTrue\n"


@pytest.fixture(scope="module")
def cluster():
    distributed = pytest.importorskip("distributed")
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as local, distributed.Client(local) as client:
        yield local, client


def test_dask_matrix_survives_a_lost_worker(tmp_path, cluster):
    import vorlinde.dask
    local, client = cluster
    graph = vorlinde.random_graph(100000, 2)
    graph.save(tmp_path / "g.bin", format="binary")
    sources, targets = list(range(0, 100000, 500)), list(range(7, 100000, 997))
    expected = graph.distance_matrix(sources, targets)
    got = {}
    job = threading.Thread(target=lambda: got.update(matrix=vorlinde.dask.distance_matrix(
        client, tmp_path / "g.bin", sources, targets, chunk_size=1)))
    job.start()
    while not any(client.processing().values()):
        time.sleep(0.01)
    time.sleep(0.3)
    assert job.is_alive()
    victim = max(client.run(os.getpid).values())
    os.kill(victim, signal.SIGKILL)
    job.join(60)
    assert np.array_equal(got["matrix"], expected)


def test_dask_files_and_shell_command(tmp_path, cluster):
    import vorlinde.dask
    local, client = cluster
    src, dst, cost = tied_graph(9)
    (tmp_path / "g.gr").write_text(graph_texts(src, dst, cost)["dimacs"])
    written = vorlinde.dask.solve_to_files(client, tmp_path / "g.gr", [1, 4, 1], str(tmp_path / "s{source}.txt"))
    assert written == [str(tmp_path / "s1.txt"), str(tmp_path / "s4.txt")]
    for source in (1, 4):
        expected = subprocess.run([QUERY, "-q", "-s", str(source), tmp_path / "g.gr"], capture_output=True)
        assert (tmp_path / f"s{source}.txt").read_bytes() == expected.stdout
    (tmp_path / "s").write_text("1\n4\n1\n")
    (tmp_path / "t").write_text("# targets\n2\n300\n")
    command = [sys.executable, "-m", "vorlinde.dask", "--scheduler", local.scheduler_address,
               str(tmp_path / "g.gr"), "--sources", str(tmp_path / "s"), "--targets", str(tmp_path / "t"),
               "-o", str(tmp_path / "m.tsv")]
    assert subprocess.run(command).returncode == 0
    expected = subprocess.run([QUERY, "-q", "--matrix", "--sources", tmp_path / "s", "--targets",
                               tmp_path / "t", tmp_path / "g.gr"], capture_output=True, text=True)
    assert (tmp_path / "m.tsv").read_text() == expected.stdout
