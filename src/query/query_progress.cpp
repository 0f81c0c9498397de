#include "query/query_progress.h"

#include <cstdio>

#include "base/messages.h"

namespace {

constexpr auto kLeastInterval = std::chrono::milliseconds(100);

}  // namespace

ProgressLine::ProgressLine(bool enabled, const char* graphPath)
    : enabled_(enabled), graphPath_(graphPath) {}

ReadProgress ProgressLine::reading() {
  ReadProgress progress;
  if (enabled_) {
    progress.bytesRead = &ProgressLine::bytesRead;
    progress.context = this;
    // Some inputs are read without telling their progress (a file small
    // enough to be read in order, on one thread): at least say what runs.
    char text[512];
    std::snprintf(text, sizeof text, "Reading %s", graphPath_);
    show(text, true);
  }
  return progress;
}

void ProgressLine::bytesRead(void* context, int64_t bytes) {
  auto* line = static_cast<ProgressLine*>(context);
  char text[512];
  std::snprintf(text, sizeof text, "Reading %s: %lld MB", line->graphPath_,
                static_cast<long long>(bytes / 1000000));
  line->show(text, false);
}

void ProgressLine::solved(size_t done, size_t total) {
  if (!enabled_) return;
  char text[96];
  std::snprintf(text, sizeof text, "Solved %zu of %zu sources", done, total);
  show(text, done == total);
}

void ProgressLine::show(const char* text, bool always) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto now = std::chrono::steady_clock::now();
  if (!always && now - last_ < kLeastInterval) return;
  last_ = now;
  printStatusLine(text);
  shown_ = true;
}

void ProgressLine::clear() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (shown_) printStatusLine("");
  shown_ = false;
}
