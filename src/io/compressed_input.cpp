#include "io/compressed_input.h"

#include <poll.h>

#include <cstring>

#include "io/descriptor_io.h"

ssize_t RawInput::read(char* into, size_t room) {
  ssize_t got;
  if (keptPos < keptSize) {
    got = static_cast<ssize_t>(room < keptSize - keptPos ? room : keptSize - keptPos);
    std::memcpy(into, kept + keptPos, static_cast<size_t>(got));
    keptPos += static_cast<size_t>(got);
  } else {
    got = readRetrying(fd, into, room, stopFd);
    if (got < 0) return -1;
  }
  bytesRead += got;
  if (onRead != nullptr) onRead(onReadContext, bytesRead);
  return got;
}

bool RawInput::wouldWait() const {
  if (keptPos < keptSize) return false;
  pollfd ready{fd, POLLIN, 0};
  return ::poll(&ready, 1, 0) == 0;
}

Compression compressionOf(const char* bytes, size_t size) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  if (size >= 2 && b[0] == 0x1f && b[1] == 0x8b) return Compression::Gzip;
  if (size < kCompressionMagicBytes) return Compression::None;
  if (b[0] == 0x28 && b[1] == 0xb5 && b[2] == 0x2f && b[3] == 0xfd) return Compression::Zstd;
  // A skippable frame: 0x184D2A50 to 0x184D2A5F, little-endian.
  if ((b[0] & 0xf0) == 0x50 && b[1] == 0x2a && b[2] == 0x4d && b[3] == 0x18) {
    return Compression::Zstd;
  }
  return Compression::None;
}

void Decompressor::start(Compression kind) {
  compression = kind;
  failure = nullptr;
  if (kind == Compression::Gzip) state = startGzip();
  if (kind == Compression::Zstd) state = startZstd();
}

ssize_t Decompressor::read(RawInput& raw, char* into, size_t room) {
  switch (compression) {
    case Compression::Gzip:
      return readGzip(state, raw, into, room, failure);
    case Compression::Zstd:
      return readZstd(state, raw, into, room, failure);
    case Compression::None:
      break;
  }
  const ssize_t got = raw.read(into, room);
  if (got < 0) failure = "read error";
  return got;
}

void Decompressor::end() {
  if (compression == Compression::Gzip) endGzip(state);
  if (compression == Compression::Zstd) endZstd(state);
  state = nullptr;
  compression = Compression::None;
}
