"""Exact shortest paths on large directed graphs with integer costs.

    import vorlinde
    g = vorlinde.read_graph("g.txt")
    cost, pred = g.shortest_paths(source=0)
    print(vorlinde.checksum(cost))

The search is the heap search of the command-line tool vorlinde: node for node,
the costs and predecessors are those of its solution files. See help(vorlinde.Graph).
vorlinde.dask spreads distance matrices over a dask.distributed cluster.
"""

from ._core import (Graph, __version__, checksum, random_graph, read_graph, save_matrix,
                    save_solution)

__all__ = ["Graph", "checksum", "random_graph", "read_graph", "save_matrix", "save_solution"]

Graph.__module__ = __name__
