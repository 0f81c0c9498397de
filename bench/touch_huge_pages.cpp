// Touches memory as huge pages and gives it back: run right before a timed
// process so that the virtual machine's host has backing ready and the timed
// run's first touches cost what they cost on a plain machine.
//
//   touch_huge_pages [MiB]      (default 2048)
#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  const size_t bytes = static_cast<size_t>(argc > 1 ? std::atol(argv[1]) : 2048) << 20;
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) {
    std::perror("mmap");
    return 1;
  }
  madvise(block, bytes, MADV_HUGEPAGE);
  std::memset(block, 1, bytes);
  munmap(block, bytes);
  return 0;
}
