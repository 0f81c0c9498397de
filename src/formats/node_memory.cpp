#include "formats/node_memory.h"

#include <algorithm>
#include <cstdio>

#include "base/allocation.h"

int64_t mostNodesInMemory() {
  return static_cast<int64_t>(std::min<std::size_t>(memoryLimitBytes() / kBytesPerNode, INT64_MAX));
}

void describeNodeNeed(char* into, std::size_t room, int64_t label, int64_t mostNodes) {
  const double gigabytes = 1e9;
  std::snprintf(into, room, "node %lld would need %.1f GB; %.1f GB available",
                static_cast<long long>(label),
                static_cast<double>(label + 1) * kBytesPerNode / gigabytes,
                static_cast<double>(mostNodes) * kBytesPerNode / gigabytes);
}
