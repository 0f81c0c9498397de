#include "solution/loaded_solution.h"

#include <cstddef>

#include "base/allocation.h"

namespace {

constexpr int32_t kFirstGrowth = 1024;

}  // namespace

void LoadedSolution::prepare(int32_t room) {
  count = 0;
  if (room <= capacity) return;
  entries = static_cast<SolutionEntry*>(
      checkedRealloc(entries, static_cast<std::size_t>(room) * sizeof(SolutionEntry)));
  capacity = room;
  adviseHugePages(entries, static_cast<std::size_t>(room) * sizeof(SolutionEntry));
}

void LoadedSolution::grow() {
  // count is a 32-bit number: a file with more lines cannot be held at all.
  if (capacity == INT32_MAX) failAllocation();
  const int64_t doubled = capacity < kFirstGrowth ? kFirstGrowth : int64_t{capacity} * 2;
  const int32_t room = doubled > INT32_MAX ? INT32_MAX : static_cast<int32_t>(doubled);
  entries = static_cast<SolutionEntry*>(
      checkedRealloc(entries, static_cast<std::size_t>(room) * sizeof(SolutionEntry)));
  capacity = room;
}
