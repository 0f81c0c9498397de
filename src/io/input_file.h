#pragma once

#include <cstddef>
#include <cstdint>

#include "io/byte_source.h"
#include "io/compressed_input.h"
#include "io/decode_ahead.h"

// A graph input as text: a file, or standard input for the path "-", read
// through when it is gzip or zstd (told by its first bytes, never by its
// name). The first block of the text can be kept for a look before it is
// read (a reader can tell the format from it) and then handed out first.
struct InputFile {
  RawInput raw;
  Decompressor decompressor;
  DecodeAhead decodeAhead;  // runs while a compressed input is read past its first block
  char* head = nullptr;
  size_t headSize = 0;
  size_t headPos = 0;
  bool ownsFd = false;
  bool plainFile = false;         // a regular file, not compressed: its path can be opened again
  const char* failure = nullptr;  // why the text could not be read

  // Closing again is harmless: an input that a failure unwinds past (an
  // embedding caller's allocation handler may throw) still stops its thread.
  ~InputFile() { close(); }

  // Opens path and, for a look, reads the first block of the text (less only
  // when the text is shorter); without it, only the first bytes that tell the
  // compression. False, the input closed, after "Can not open file <path>"
  // (or "ERROR: Can not read file <path>").
  bool open(const char* path, bool look = true);
  // The text, bytes of the first block first.
  ByteSource source();
  void close();

 private:
  ssize_t readText(char* into, size_t room);
  static ssize_t readThunk(void* context, char* into, size_t room);
};
