// What bench/run_all.sh holds the tool against, each run as a process of its
// own, as the tool is run:
//
//   bench_floors touch [MiB]      touches memory (default 2048 MiB) as huge pages and gives
//                                 it back, so that the next process's first touches do not
//                                 wait for this virtual machine's host to back fresh memory
//   bench_floors read FILE        reads FILE in 32 KiB reads and counts its newlines
//   bench_floors write FILE OUT   reads FILE into memory, then writes it to OUT (created or
//                                 truncated) in 32 KiB writes
//
// read and write print the milliseconds of the timed part (open to close).
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_timing.h"

namespace {

constexpr size_t kBlockBytes = 32768;

[[noreturn]] void fail(const char* what) {
  std::perror(what);
  std::exit(1);
}

void touch(size_t mebibytes) {
  const size_t bytes = mebibytes << 20;
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) fail("mmap");
  madvise(block, bytes, MADV_HUGEPAGE);
  std::memset(block, 1, bytes);
  munmap(block, bytes);
}

void readAndCount(const char* path) {
  std::vector<char> buffer(kBlockBytes);
  const auto start = benchClock();
  const int fd = ::open(path, O_RDONLY);
  if (fd < 0) fail(path);
  long long lines = 0;
  ssize_t got;
  while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) {
    lines += std::count(buffer.data(), buffer.data() + got, '\n');
  }
  ::close(fd);
  std::printf("%.0f ms, %lld lines\n", secondsSince(start) * 1000, lines);
}

void writeFromMemory(const char* path, const char* outPath) {
  std::string bytes;
  {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) fail(path);
    char chunk[1 << 16];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
  }
  const auto start = benchClock();
  const int fd = ::open(outPath, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) fail(outPath);
  for (size_t at = 0; at < bytes.size(); at += kBlockBytes) {
    const size_t count = std::min(kBlockBytes, bytes.size() - at);
    if (::write(fd, bytes.data() + at, count) != static_cast<ssize_t>(count)) fail("write");
  }
  if (::close(fd) != 0) fail("close");
  std::printf("%.0f ms, %zu bytes\n", secondsSince(start) * 1000, bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "touch") {
    touch(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 2048);
  } else if (mode == "read" && argc == 3) {
    readAndCount(argv[2]);
  } else if (mode == "write" && argc == 4) {
    writeFromMemory(argv[2], argv[3]);
  } else {
    std::fprintf(stderr, "usage: %s touch [MiB] | read FILE | write FILE OUT\n", argv[0]);
    return 1;
  }
  return 0;
}
