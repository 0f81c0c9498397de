#include "python/recycled_blocks.h"

#include <cstdlib>
#include <mutex>

#include "base/allocation.h"

namespace {

constexpr std::size_t kSmallestKept = std::size_t{4} << 20;
constexpr std::size_t kMostKeptBytes = std::size_t{256} << 20;
constexpr int kMostKept = 2;
// Each block starts with its size; the caller's memory starts a cache line
// further, aligned as malloc aligns.
constexpr std::size_t kHeader = 64;

struct KeptBlocks {
  std::mutex lock;
  void* blocks[kMostKept] = {};  // the header of each, oldest first
  std::size_t bytes[kMostKept] = {};
  int count = 0;
};

// Never destroyed: numpy may release arrays while the interpreter shuts down.
KeptBlocks& kept() {
  static auto* blocks = new KeptBlocks;
  return *blocks;
}

}  // namespace

void* takeBlock(std::size_t bytes) {
  if (bytes >= kSmallestKept) {
    KeptBlocks& pool = kept();
    const std::lock_guard<std::mutex> hold(pool.lock);
    for (int k = pool.count - 1; k >= 0; --k) {
      if (pool.bytes[k] != bytes) continue;
      void* header = pool.blocks[k];
      for (int later = k + 1; later < pool.count; ++later) {
        pool.blocks[later - 1] = pool.blocks[later];
        pool.bytes[later - 1] = pool.bytes[later];
      }
      --pool.count;
      return static_cast<char*>(header) + kHeader;
    }
  }
  if (bytes > SIZE_MAX - kHeader) return nullptr;
  void* header = std::malloc(bytes + kHeader);
  if (header == nullptr) return nullptr;
  *static_cast<std::size_t*>(header) = bytes;
  char* block = static_cast<char*>(header) + kHeader;
  // Fresh memory costs a fault per page at its first touch: huge pages take
  // 512 times fewer for large arrays.
  adviseHugePages(block, bytes);
  return block;
}

void giveBackBlock(void* block) {
  if (block == nullptr) return;
  void* header = static_cast<char*>(block) - kHeader;
  const std::size_t bytes = *static_cast<std::size_t*>(header);
  if (bytes >= kSmallestKept && bytes <= kMostKeptBytes / kMostKept) {
    KeptBlocks& pool = kept();
    const std::lock_guard<std::mutex> hold(pool.lock);
    if (pool.count == kMostKept) {
      std::free(pool.blocks[0]);
      pool.blocks[0] = pool.blocks[1];
      pool.bytes[0] = pool.bytes[1];
      pool.count = 1;
    }
    pool.blocks[pool.count] = header;
    pool.bytes[pool.count] = bytes;
    ++pool.count;
    return;
  }
  std::free(header);
}
