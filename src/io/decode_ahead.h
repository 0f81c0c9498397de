#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

#include "io/compressed_input.h"

// Decompresses on a thread of its own, a few blocks ahead of the reader, so
// that inflating the input and reading its text overlap: a compressed graph
// then loads in about the time the decompression alone takes.
class DecodeAhead {
 public:
  // Starts decoding what is left of decompressor's stream over raw; both must
  // outlive finish().
  void start(Decompressor& decompressor, RawInput& raw);
  // Like Decompressor::read; failure as the decompressor set it.
  ssize_t read(char* into, size_t room, const char*& failure);
  // Stops the thread (also when the text was not read to its end, and while
  // it waits for bytes of a pipe) and releases the blocks.
  void finish();
  bool running() const { return worker_.joinable(); }

 private:
  static constexpr int kBlocks = 4;
  static constexpr size_t kBlockBytes = size_t{1} << 20;

  struct Block {
    char* bytes = nullptr;
    size_t size = 0;
    bool ended = false;  // the stream's end (or its failure) comes after these bytes
    const char* failure = nullptr;
  };

  Block blocks_[kBlocks];
  size_t filled_ = 0;  // blocks handed over by the thread, counting up
  size_t taken_ = 0;   // blocks the reader is done with
  size_t offset_ = 0;  // bytes of the current block already read
  bool stopping_ = false;
  bool ended_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::thread worker_;
  int stopFd_ = -1;  // written to stop a read that waits (RawInput::stopFd)
  RawInput* raw_ = nullptr;

  void decode(Decompressor& decompressor, RawInput& raw);
  void release();
};
