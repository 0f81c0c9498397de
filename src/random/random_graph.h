#pragma once

#include <cstdint>

// The bounds of a random graph (ShortestPathSolver::generateRandomGraph, in
// random/random_graph.cpp): at least this many nodes, and at most maxEdge
// edges from one node, with maxEdge from kMaxEdgeFloor to kMaxEdgeCeiling and
// below the node count.
constexpr int32_t kMinRandomNodes = 7;
constexpr int32_t kMaxEdgeFloor = 5;
constexpr int32_t kMaxEdgeCeiling = 1000;
