import os
from typing import Literal, Optional, Sequence, Tuple, Union, overload

import numpy as np
import numpy.typing as npt

__version__: str

_Path = Union[str, "os.PathLike[str]"]
_Integers = Union[npt.NDArray[np.integer], Sequence[int]]
_Int32Array = npt.NDArray[np.int32]

class Graph:
    """A directed graph with non-negative integer costs on nodes 0 to num_nodes - 1."""

    def __init__(
        self, src: _Integers, dst: _Integers, cost: _Integers, num_nodes: Optional[int] = None
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
        self, source: Optional[int] = None, max_cost: Optional[int] = None
    ) -> Tuple[_Int32Array, _Int32Array]: ...
    @overload
    def shortest_paths(
        self,
        source: None = None,
        max_cost: Optional[int] = None,
        *,
        sources: _Integers,
        threads: Optional[int] = None,
    ) -> Tuple[_Int32Array, _Int32Array]: ...
    def path(self, source: int, target: int) -> Optional[_Int32Array]: ...
    def distance_matrix(
        self,
        sources: _Integers,
        targets: _Integers,
        max_cost: Optional[int] = None,
        threads: Optional[int] = None,
    ) -> _Int32Array: ...
    def save(self, path: _Path, format: Literal["edges", "binary"] = "edges") -> None: ...

def read_graph(
    path: _Path, format: Literal["auto", "edges", "dimacs", "snap", "mtx", "binary"] = "auto"
) -> Graph: ...
def random_graph(n: int, seed: int, max_edge: int = 5) -> Graph: ...
def checksum(cost: _Integers) -> int: ...
def save_solution(
    path: _Path, cost: _Integers, pred: _Integers, *, first_node: int = 0
) -> None: ...
def save_matrix(
    path: _Path, sources: _Integers, targets: _Integers, matrix: _Integers
) -> None: ...
