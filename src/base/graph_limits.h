#pragma once

#include <cstdint>

// The bounds every graph is held to, whatever it comes from. Labels index
// arrays of label + 1 entries; costs and path sums are signed 32-bit.
constexpr int32_t kMaxLabel = 2147483646;  // label + 1 must still fit in int32_t
constexpr int32_t kMaxCost = 2147483647;
// Edge indices are signed 32-bit, so no graph may hold more edges than this.
constexpr int64_t kMostEdges = INT32_MAX;
