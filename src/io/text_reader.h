#pragma once

#include <bit>
#include <cstdint>

#include "base/graph_limits.h"
#include "io/byte_source.h"
#include "io/digit_scan.h"

// What readEdgeLine found.
constexpr int32_t kEdgeLineRead = 0;
constexpr int32_t kEndOfInput = -1;
constexpr int32_t kBadLine = -2;   // badLineNumber and badLineReason tell which and why
constexpr int32_t kReadFailed = -3;

// Reads edge lines (three decimal numbers) from a byte source through one
// buffer, scanning the bytes in place and reading once per buffer. Set
// capacity before open.
//
// A line holds three unsigned decimal numbers, separated and optionally
// surrounded by spaces or tabs, ended by LF, CR LF or the end of the file.
// Lines holding only blanks are skipped. The first line that breaks these
// rules ends the reading with kBadLine, so a damaged file can never turn into
// a different graph.
struct TextReader {
  ByteSource* source = nullptr;
  char* buffer = nullptr;
  int32_t capacity = 0;
  int32_t carry = 0;  // bytes of an unfinished field kept at a refill
  int32_t end = 0;    // valid bytes in buffer; buffer[end] holds a stop byte
  int32_t pos = 0;    // next byte to scan
  bool endOfFile = false;
  int64_t bufferOffset = 0;  // where buffer[0] stands in the source
  // No line that starts at or after this offset is read: a part of a file
  // ends with the last line that starts inside it.
  int64_t stopOffset = INT64_MAX;
  int64_t lineNumber = 1;  // line being scanned, counting every line from 1
  int64_t badLineNumber = 0;
  const char* badLineReason = nullptr;

  TextReader() = default;
  ~TextReader() { close(); }  // also when a failure unwinds past the reading
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;

  // Allocates the buffer (capacity bytes), unless open already did.
  void prepareBuffer();

  // Reads from source, which must stay open until close, taking its first
  // byte as offset startOffset. A reader opened before and not closed moves
  // to the new source and keeps its buffer: nothing is allocated then.
  void open(ByteSource& from, int64_t startOffset = 0);

  // Skips the rest of a line that began before the source's first byte: the
  // bytes up to and including the first LF. Returns kEdgeLineRead when a line
  // start was found, else kEndOfInput or kReadFailed. Lines are then counted
  // from 1 again.
  int32_t skipLineBegunBefore();

  // Scans the next edge line into from, to and cost. Labels are at most
  // kMaxLabel and costs at most kMaxCost, so every label can index an array
  // of label + 1 entries. Returns kEdgeLineRead, kEndOfInput, kBadLine or
  // kReadFailed; after the last two the reader is only fit to be closed.
  [[gnu::always_inline]] inline int32_t readEdgeLine(const int32_t* powersOfTen,
                                                      int32_t& from, int32_t& to, int32_t& cost);

  // The number of the edge line readEdgeLine gave last: lines are counted
  // as their line end is passed, and the text's last line may have none.
  int64_t lastLineNumber() const { return buffer[pos - 1] == '\n' ? lineNumber - 1 : lineNumber; }

  // Releases the buffer; the source stays open.
  void close();

 private:
  // A line "a b c" with single spaces and its line end, well inside the data,
  // is read inline; any other line, and every line near the end of the data,
  // takes the general way.
  // It looks at 32 bytes, and a conversion may read 8 bytes from the last.
  static constexpr int32_t kPlainLineRoom = 40;
  // Lines that start before this index are read inline: they lie well inside
  // the data and before stopOffset.
  int32_t plainLimit = 0;

  void setPlainLimit();
  bool atStop(const char* at) const { return bufferOffset + (at - buffer) >= stopOffset; }

  [[gnu::always_inline]] inline bool readPlainLine(const int32_t* powersOfTen, int32_t& from,
                                                   int32_t& to, int32_t& cost);
  int32_t readAnyLine(const int32_t* powersOfTen, int32_t& from, int32_t& to, int32_t& cost);
  const char* refill(const char* keepFrom);
  int32_t rejectLine(const char* at, const char* reason);
};

// Reasons for a bad line, as the loader reports them.
inline constexpr const char* kNotANumber = "not a number";
inline constexpr const char* kNumberTooLarge = "number too large";
inline constexpr const char* kExpectedThreeNumbers = "expected 3 numbers";

[[gnu::always_inline]] inline bool TextReader::readPlainLine(const int32_t* powersOfTen,
                                                             int32_t& from, int32_t& to,
                                                             int32_t& cost) {
  uint64_t values[3];
  const char* lineEnd = digit_scan::threeNumbers(buffer + pos, powersOfTen, values);
  if (lineEnd == nullptr) return false;
  if (*lineEnd == '\r' && lineEnd[1] == '\n') ++lineEnd;
  if (*lineEnd != '\n') return false;
  const auto [first, second, third] = values;
  if (first > kMaxLabel || second > kMaxLabel || third > kMaxCost) return false;
  pos = static_cast<int32_t>(lineEnd + 1 - buffer);
  ++lineNumber;
  from = static_cast<int32_t>(first);
  to = static_cast<int32_t>(second);
  cost = static_cast<int32_t>(third);
  return true;
}

[[gnu::always_inline]] inline int32_t TextReader::readEdgeLine(const int32_t* powersOfTen,
                                                               int32_t& from, int32_t& to,
                                                               int32_t& cost) {
  if (pos < plainLimit && readPlainLine(powersOfTen, from, to, cost)) {
    return kEdgeLineRead;
  }
  return readAnyLine(powersOfTen, from, to, cost);
}
