#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>

#include "graph/shortest_path_solver.h"

// The progress line on standard error: bytes read while the graph loads,
// sources solved while the searches run. At most ten updates a second; any
// thread may report.
class ProgressLine {
 public:
  ProgressLine(bool enabled, const char* graphPath);
  ~ProgressLine() { clear(); }

  ReadProgress reading();
  void solved(size_t done, size_t total);
  // Erases the line, so that messages after it start clean.
  void clear();

 private:
  bool enabled_;
  bool shown_ = false;
  const char* graphPath_;
  std::mutex mutex_;
  std::chrono::steady_clock::time_point last_{};

  void show(const char* text, bool always);
  static void bytesRead(void* context, int64_t bytes);
};
