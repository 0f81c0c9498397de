#include "base/allocation.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/messages.h"

namespace {

thread_local AllocationFailureHandler threadHandler = nullptr;

}  // namespace

void setAllocationFailureHandler(AllocationFailureHandler handler) { threadHandler = handler; }

void failAllocation() {
  if (threadHandler != nullptr) threadHandler();
  printLine("Can not allocate memory");
  std::exit(-1);
}

void* checkedMalloc(std::size_t bytes) {
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block == nullptr) failAllocation();
  return block;
}

void* checkedRealloc(void* block, std::size_t bytes) {
  void* grown = std::realloc(block, bytes == 0 ? 1 : bytes);
  if (grown == nullptr) failAllocation();
  return grown;
}

void* tryRealloc(void* block, std::size_t bytes) {
  return std::realloc(block, bytes == 0 ? 1 : bytes);
}

void adviseHugePages(void* block, std::size_t bytes) {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{1} << 21;
  constexpr std::uintptr_t kPage = 4096;
  if (block == nullptr || bytes < 2 * kHugePage) return;
  const auto start = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t begin = start & ~(kPage - 1);
  const std::uintptr_t end = (start + bytes + kPage - 1) & ~(kPage - 1);
#ifdef MADV_HUGEPAGE
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}
