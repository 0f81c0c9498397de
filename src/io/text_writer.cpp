#include "io/text_writer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "base/allocation.h"
#include "base/messages.h"
#include "base/thread_count.h"
#include "io/background_writer.h"
#include "io/descriptor_io.h"

namespace {

// Room behind capacity for a line started just before it, and for the bytes
// the number formatting stores beyond its text.
constexpr size_t kTailBytes = kLongestLine + decimal::kStoreSlack;
// Smaller buffers are written directly: a second thread would mostly wait.
constexpr int32_t kSmallestBackgroundBuffer = 4096;
// What a background writer is handed at once, about: a thread woken per
// 32 KiB would spend much of its time being scheduled.
constexpr int32_t kBackgroundBatchBytes = 1 << 20;

}  // namespace

void TextWriter::prepareBuffer(bool toStandardOutput) {
  if (capacity < 1) capacity = 1;
  buffer = static_cast<char*>(checkedMalloc(static_cast<size_t>(capacity) + kTailBytes));
  pending = 0;
  fillLimit = capacity;
  failed = false;
  standardOutput = toStandardOutput;
  backgroundTried = false;
}

int32_t TextWriter::open(const char* path) {
  prepareBuffer(false);
  name = path;
  const int32_t opened = openOutputFile(output, path);
  if (opened != 0) {
    if (opened == -1 && messages == OutputMessages::Tool) reportCannotOpen(path);
    if (opened == -1 && messages == OutputMessages::Explained) reportOutputNotOpened(path, output.errorNumber);
    std::free(buffer);
    buffer = nullptr;
    return -1;
  }
  fd = output.fd;
  return 0;
}

// Only the first failure is told: the lines after it are dropped anyway.
void TextWriter::fail(int errorNumber) {
  if (failed) return;
  failed = true;
  if (messages == OutputMessages::Tool) {
    printLinef("writting error");
  } else {
    reportCannotWrite(name, errorNumber);
  }
}

// Moves the pending bytes into the first of two batches, unless the writes
// stay on this thread.
void TextWriter::startBackground() {
  if (backgroundTried || capacity < kSmallestBackgroundBuffer || threadCount() < 2 || failed) {
    return;
  }
  backgroundTried = true;
  // Everything allocated before the thread starts, so that a failure leaves none running.
  const int32_t batchLimit = std::max(kBackgroundBatchBytes / capacity, 1) * capacity;
  const size_t batchBytes = static_cast<size_t>(batchLimit) + kTailBytes;
  MallocedBlock<char> batch(static_cast<char*>(checkedMalloc(batchBytes)));
  MallocedBlock<char> spare(static_cast<char*>(checkedMalloc(batchBytes)));
  background = allocateArray<BackgroundWriter>(1);
  if (!background->start(fd, capacity)) {
    releaseArray(background);
    return;
  }
  fillLimit = batchLimit;
  std::memcpy(batch.get(), buffer, static_cast<size_t>(pending));
  std::free(buffer);
  buffer = batch.release();
  spareBuffer = spare.release();
}

TextWriter::~TextWriter() {
  if (buffer == nullptr) return;
  stopBackground();
  if (!standardOutput) abandonOutputFile(output);
  std::free(buffer);
}

// 0 when every write in the background went through, else why one failed.
int TextWriter::stopBackground() {
  if (background == nullptr) return 0;
  const int error = background->finish() ? 0 : background->errorNumber();
  releaseArray(background);
  std::free(spareBuffer);
  spareBuffer = nullptr;
  return error;
}

int32_t TextWriter::openStandardOutput() {
  prepareBuffer(true);
  name = "standard output";
  fd = STDOUT_FILENO;
  return 0;
}

void TextWriter::putBytes(const char* bytes, size_t count) {
  while (count > 0) {
    if (pending >= fillLimit) writeFullBuffer();
    const size_t room = static_cast<size_t>(fillLimit - pending);
    const size_t part = count < room ? count : room;
    std::memcpy(buffer + pending, bytes, part);
    pending += static_cast<int32_t>(part);
    bytes += part;
    count -= part;
  }
}

// After a failed write the buffer is still filled and emptied, but nothing
// more reaches the file: the lines after the failure are dropped.
void TextWriter::writeFullBuffer() {
  if (background == nullptr) startBackground();
  if (background != nullptr) {
    if (pending < fillLimit) return;  // just started: the batch has room
    if (!background->waitUntilWritten()) fail(background->errorNumber());
    if (!failed) background->handOver(buffer, fillLimit);
    pending -= fillLimit;
    std::memcpy(spareBuffer, buffer + fillLimit, static_cast<size_t>(pending));
    std::swap(buffer, spareBuffer);
    return;
  }
  int32_t written = 0;
  while (pending - written >= capacity) {  // more than once only for tiny buffers
    if (!failed && !writeAll(fd, buffer + written, capacity)) fail(errno);
    written += capacity;
  }
  pending -= written;
  std::memmove(buffer, buffer + written, static_cast<size_t>(pending));
}

bool TextWriter::close() {
  if (buffer == nullptr) return false;  // never opened, or the open failed
  const int backgroundError = stopBackground();
  if (backgroundError != 0) fail(backgroundError);
  if (!failed && !writeInChunks(fd, buffer, pending, capacity)) fail(errno);
  pending = 0;
  if (standardOutput) {
    // Standard output stays open: it belongs to the process.
  } else if (failed) {
    abandonOutputFile(output);
  } else if (!commitOutputFile(output)) {
    fail(output.errorNumber);
  }
  const bool complete = !failed;
  fd = -1;
  std::free(buffer);
  buffer = nullptr;
  return complete;
}
