#include "io/background_writer.h"

#include <algorithm>
#include <system_error>

bool BackgroundWriter::start(int fd, WriteBytes writeBytes, int32_t chunkBytes) {
  fd_ = fd;
  writeBytes_ = writeBytes;
  chunkBytes_ = chunkBytes;
  try {
    thread_ = std::thread(&BackgroundWriter::run, this);
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

bool BackgroundWriter::waitUntilWritten() {
  std::unique_lock<std::mutex> guard(lock_);
  if (pending_ != nullptr && !taken_) {
    const char* bytes = pending_;
    const int32_t count = pendingCount_;
    pending_ = nullptr;
    if (!failed_) {
      guard.unlock();
      const bool written = writeInChunks(bytes, count);
      guard.lock();
      if (!written) failed_ = true;
    }
  }
  changed_.wait(guard, [&] { return pending_ == nullptr; });
  return !failed_;
}

bool BackgroundWriter::writeInChunks(const char* bytes, int32_t count) {
  for (int32_t at = 0; at < count; at += chunkBytes_) {
    if (!writeBytes_(fd_, bytes + at, std::min(chunkBytes_, count - at))) return false;
  }
  return true;
}

void BackgroundWriter::handOver(const char* bytes, int32_t count) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    pending_ = bytes;
    pendingCount_ = count;
  }
  changed_.notify_all();
}

bool BackgroundWriter::finish() {
  waitUntilWritten();
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
  return !failed_;
}

void BackgroundWriter::run() {
  std::unique_lock<std::mutex> guard(lock_);
  for (;;) {
    changed_.wait(guard, [&] { return pending_ != nullptr || stopping_; });
    if (pending_ == nullptr) return;
    const char* bytes = pending_;
    const int32_t count = pendingCount_;
    const bool skip = failed_;
    taken_ = true;
    guard.unlock();
    const bool written = skip || writeInChunks(bytes, count);
    guard.lock();
    if (!written) failed_ = true;
    taken_ = false;
    pending_ = nullptr;
    changed_.notify_all();
  }
}
