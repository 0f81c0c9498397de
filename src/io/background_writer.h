#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// Writes buffers to a descriptor on a thread of its own, one at a time, so
// that its user can fill the next buffer meanwhile. A buffer goes out in
// writes of chunkBytes (the last one shorter). After a failed write it writes
// nothing more.
struct BackgroundWriter {
  // Starts the thread; false when none could be started (write directly then).
  bool start(int fd, int32_t chunkBytes);

  // Returns once the bytes handed over before are written: when the thread
  // has not taken them yet (on a busy machine it may not have run), they are
  // written here instead of waited for. False when any write since start
  // failed.
  bool waitUntilWritten();

  // Hands bytes over to be written; they must stay untouched until
  // waitUntilWritten returns.
  void handOver(const char* bytes, int32_t count);

  // Waits for the last write and ends the thread. False when any write failed.
  bool finish();

  // Why the first write that failed did (an errno value), else 0.
  int errorNumber();

 private:
  void run();

  int fd_ = -1;
  int32_t chunkBytes_ = 0;
  std::thread thread_;
  std::mutex lock_;
  std::condition_variable changed_;
  const char* pending_ = nullptr;
  int32_t pendingCount_ = 0;
  bool taken_ = false;  // the thread is writing the pending bytes
  bool stopping_ = false;
  bool failed_ = false;
  int errorNumber_ = 0;

  void fail(int error);  // under lock_
};
