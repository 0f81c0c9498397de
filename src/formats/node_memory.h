#pragma once

#include <cstddef>
#include <cstdint>

// Bytes each node needs once its graph is loaded and searched: its edge
// range (8), its heap entry (12) and its result (8). A search that keeps
// more per node raises it.
constexpr int64_t kBytesPerNode = 28;

// The most nodes a graph may have with the memory the process may take now
// (base/allocation.h): a label past it is refused before anything that large
// is allocated. Take it once per input, so that all its checks agree.
int64_t mostNodesInMemory();

// Why a label past mostNodes is refused: "node <label> would need <x> GB;
// <y> GB available", in GB of 10^9 bytes with one decimal.
void describeNodeNeed(char* into, std::size_t room, int64_t label, int64_t mostNodes);
