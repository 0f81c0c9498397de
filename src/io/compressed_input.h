#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

// The raw bytes of an input as they come from its descriptor, the first
// block of them kept aside once read (it told which compression the input
// uses) and handed out again first.
struct RawInput {
  int fd = -1;
  char* kept = nullptr;
  size_t keptSize = 0;
  size_t keptPos = 0;
  int64_t bytesRead = 0;  // raw bytes handed out so far
  void (*onRead)(void* context, int64_t bytesRead) = nullptr;
  void* onReadContext = nullptr;
  // Readable once whoever reads has stopped wanting the bytes: a read that
  // waits for them (on a pipe that stays open) gives up then. -1: none.
  int stopFd = -1;

  ssize_t read(char* into, size_t room);
  // Whether the next read would wait for a writer (a pipe with nothing in
  // it now); never for a plain file.
  bool wouldWait() const;
};

enum class Compression { None, Gzip, Zstd };

// The first bytes of a stream that tell its compression.
constexpr size_t kCompressionMagicBytes = 4;

// From the first bytes of a stream (kCompressionMagicBytes where the input
// has them). A zstd stream may begin with a skippable frame (pzstd writes
// one), which its decompressor passes over.
Compression compressionOf(const char* bytes, size_t size);

// A streaming decompressor, one per input. read gives up to room decoded
// bytes, 0 at the end of the last frame, -1 with failure set when the stream
// is corrupt or ends early. State lives behind an opaque pointer so that the
// libraries' headers stay in their own files.
struct Decompressor {
  Compression compression = Compression::None;
  void* state = nullptr;
  const char* failure = nullptr;

  void start(Compression kind);
  ssize_t read(RawInput& raw, char* into, size_t room);
  void end();
};

// One per library (io/gzip_decompressor.cpp, io/zstd_decompressor.cpp).
void* startGzip();
ssize_t readGzip(void* state, RawInput& raw, char* into, size_t room, const char*& failure);
void endGzip(void* state);
void* startZstd();
ssize_t readZstd(void* state, RawInput& raw, char* into, size_t room, const char*& failure);
void endZstd(void* state);
