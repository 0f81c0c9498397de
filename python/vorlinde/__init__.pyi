import os
from typing import Literal, Optional, Sequence, SupportsIndex, Tuple, Union, overload

import numpy as np
import numpy.typing as npt

__version__: str

_Path = Union[str, "os.PathLike[str]"]
_Integers = Union[npt.NDArray[np.integer], Sequence[int]]  # either byte order
# A whole number: int, a numpy integer, anything with __index__; not a float.
_Integer = SupportsIndex
_Int32Array = npt.NDArray[np.int32]

class Graph:
    """A directed graph with non-negative integer costs on nodes 0 to num_nodes - 1."""

    def __init__(
        self, src: _Integers, dst: _Integers, cost: _Integers, num_nodes: Optional[_Integer] = None
    ) -> None: ...
    @property
    def num_nodes(self) -> int: ...
    @property
    def num_edges(self) -> int: ...
    @property
    def first_node(self) -> int: ...
    def edges(self) -> Tuple[_Int32Array, _Int32Array, _Int32Array]: ...
    @overload
    def shortest_paths(
        self, source: Optional[_Integer] = None, max_cost: Optional[_Integer] = None
    ) -> Tuple[_Int32Array, _Int32Array]: ...
    @overload
    def shortest_paths(
        self,
        source: None = None,
        max_cost: Optional[_Integer] = None,
        *,
        sources: _Integers,
        threads: Optional[_Integer] = None,
    ) -> Tuple[_Int32Array, _Int32Array]: ...
    def path(self, source: _Integer, target: _Integer) -> Optional[_Int32Array]: ...
    def distance_matrix(
        self,
        sources: _Integers,
        targets: _Integers,
        max_cost: Optional[_Integer] = None,
        threads: Optional[_Integer] = None,
    ) -> _Int32Array: ...
    def save(self, path: _Path, format: Literal["edges", "binary"] = "edges") -> None: ...

def read_graph(
    path: _Path, format: Literal["auto", "edges", "dimacs", "snap", "mtx", "binary"] = "auto"
) -> Graph: ...
def random_graph(n: _Integer, seed: _Integer, max_edge: _Integer = 5) -> Graph: ...
def checksum(cost: _Integers) -> int: ...
def save_solution(
    path: _Path, cost: _Integers, pred: _Integers, *, first_node: int = 0
) -> None: ...
def save_matrix(
    path: _Path, sources: _Integers, targets: _Integers, matrix: _Integers
) -> None: ...
