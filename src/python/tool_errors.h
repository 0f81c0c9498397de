#pragma once

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

// The library reports failures as lines of text and ends the process when
// memory runs out. Inside Python both become exceptions: a thread that works
// on the library holds a MessageCapture, which collects the lines it prints
// and makes its allocation failures throw, and a failed operation throws a
// ToolFailure carrying the tool's own message, which Python receives as
// ValueError, OSError or MemoryError.

enum class FailureKind {
  BadInput,     // ValueError: a bad graph file, bad arrays or arguments
  BadArgument,  // TypeError: arrays that do not hold integers
  FileFailed,   // OSError: a file that cannot be opened, read or written
  OutOfMemory,  // MemoryError: "Can not allocate memory"
};

struct ToolFailure {
  FailureKind kind;
  std::string message;
  int errorNumber = 0;  // errno when the first line was printed, for OSError
};

[[noreturn]] void failWith(FailureKind kind, std::string message);

class MessageCapture {
 public:
  MessageCapture();
  ~MessageCapture();
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  // Throws the failure that the captured lines describe: a bad graph file or
  // a path cost over the limit is bad input whatever the operation, and
  // otherwise the last line is taken with the given kind.
  [[noreturn]] void fail(FailureKind kind) const;

 private:
  std::vector<std::string> lines_;
  int errorNumber_ = 0;
  MessageCapture* outer_;  // a capture this one is nested in, which gets the lines back after it
  friend void captureLine(const char* line);
};

// Lets Python see a ToolFailure as its own exception.
void registerToolFailures();
