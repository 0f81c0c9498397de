#include "io/background_writer.h"

#include <cerrno>
#include <system_error>

#include "io/descriptor_io.h"

bool BackgroundWriter::start(int fd, int32_t chunkBytes) {
  fd_ = fd;
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
      const bool written = writeInChunks(fd_, bytes, count, chunkBytes_);
      const int error = errno;
      guard.lock();
      if (!written) fail(error);
    }
  }
  changed_.wait(guard, [&] { return pending_ == nullptr; });
  return !failed_;
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
    const bool written = skip || writeInChunks(fd_, bytes, count, chunkBytes_);
    const int error = errno;
    guard.lock();
    if (!written) fail(error);
    taken_ = false;
    pending_ = nullptr;
    changed_.notify_all();
  }
}

int BackgroundWriter::errorNumber() {
  std::lock_guard<std::mutex> guard(lock_);
  return errorNumber_;
}

void BackgroundWriter::fail(int error) {
  if (!failed_) errorNumber_ = error;
  failed_ = true;
}
