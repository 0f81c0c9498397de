#include "io/decode_ahead.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "base/allocation.h"

void DecodeAhead::start(Decompressor& decompressor, RawInput& raw) {
  for (Block& block : blocks_) block.bytes = static_cast<char*>(checkedMalloc(kBlockBytes));
  // The thread may wait in a read for bytes that never come: a writer that
  // keeps its pipe open after the reader found a bad line.
  stopFd_ = ::eventfd(0, EFD_CLOEXEC);
  raw_ = &raw;
  raw.stopFd = stopFd_;
  try {
    worker_ = std::thread([this, &decompressor, &raw] { decode(decompressor, raw); });
  } catch (const std::system_error&) {
    // No thread to be had: the reader decompresses for itself, as for a short input.
    release();
  }
}

void DecodeAhead::release() {
  for (Block& block : blocks_) {
    std::free(block.bytes);
    block.bytes = nullptr;
  }
  if (raw_ != nullptr) raw_->stopFd = -1;
  raw_ = nullptr;
  if (stopFd_ >= 0) ::close(stopFd_);
  stopFd_ = -1;
}

void DecodeAhead::decode(Decompressor& decompressor, RawInput& raw) {
  for (size_t index = 0;; ++index) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return stopping_ || index - taken_ < kBlocks; });
      if (stopping_) return;
    }
    // The block is the thread's alone until it is handed over.
    Block& block = blocks_[index % kBlocks];
    block.size = 0;
    block.ended = false;
    block.failure = nullptr;
    while (block.size < kBlockBytes && !block.ended) {
      const ssize_t got =
          decompressor.read(raw, block.bytes + block.size, kBlockBytes - block.size);
      if (got <= 0) {
        block.ended = true;
        block.failure = got < 0 ? decompressor.failure : nullptr;
      } else {
        block.size += static_cast<size_t>(got);
        // A writer that sends a little at a time (and may keep its pipe
        // open) has its lines read now, not when a whole block has come.
        if (raw.wouldWait()) break;
      }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    ++filled_;
    changed_.notify_all();
    if (block.ended) return;
  }
}

ssize_t DecodeAhead::read(char* into, size_t room, const char*& failure) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (ended_) return 0;
    changed_.wait(lock, [&] { return filled_ > taken_; });
    Block& block = blocks_[taken_ % kBlocks];
    if (offset_ < block.size) {
      lock.unlock();  // the block stays the reader's until it is given back
      const size_t count = room < block.size - offset_ ? room : block.size - offset_;
      std::memcpy(into, block.bytes + offset_, count);
      offset_ += count;
      return static_cast<ssize_t>(count);
    }
    if (block.ended) {
      ended_ = block.failure == nullptr;
      if (block.failure != nullptr) {
        failure = block.failure;
        return -1;
      }
      return 0;
    }
    ++taken_;
    offset_ = 0;
    changed_.notify_all();
  }
}

void DecodeAhead::finish() {
  if (worker_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
      changed_.notify_all();
    }
    if (stopFd_ >= 0) {
      const uint64_t stop = 1;
      [[maybe_unused]] const ssize_t told = ::write(stopFd_, &stop, sizeof stop);
    }
    worker_.join();
  }
  release();
}
