#include "base/thread_count.h"

#include <cstdlib>
#include <thread>

namespace {

int32_t initialThreadCount() {
  if (const char* forced = std::getenv("VORLINDE_THREADS")) {
    const long count = std::strtol(forced, nullptr, 10);
    if (count >= 1 && count <= 1024) return static_cast<int32_t>(count);
  }
  const unsigned cores = std::thread::hardware_concurrency();
  return cores >= 1 ? static_cast<int32_t>(cores) : 1;
}

int32_t& current() {
  static int32_t count = initialThreadCount();
  return count;
}

}  // namespace

int32_t threadCount() { return current(); }

void setThreadCount(int32_t count) { current() = count >= 1 ? count : 1; }
