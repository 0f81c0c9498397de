#include "base/grow_array.h"

#include <cstdlib>
#include <cstring>

#include "base/allocation.h"

namespace {

// Below this, huge pages cannot help and realloc's in-place growth is cheaper.
constexpr std::size_t kLargeArray = std::size_t{4} << 20;

}  // namespace

void* growArray(void* block, std::size_t keptBytes, std::size_t newBytes) {
  if (newBytes < kLargeArray) return checkedRealloc(block, newBytes);
  void* fresh = checkedMalloc(newBytes);
  adviseHugePages(fresh, newBytes);
  if (keptBytes > 0) std::memcpy(fresh, block, keptBytes);
  std::free(block);
  return fresh;
}
