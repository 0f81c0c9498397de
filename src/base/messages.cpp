#include "base/messages.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

thread_local MessageSink threadSink = nullptr;

std::atomic<bool> wroteStandardOutput{false};
std::atomic<bool> lostStandardOutput{false};

void printTo(std::FILE* stream, const char* format, va_list args) {
  if (threadSink != nullptr) {
    char line[4096];
    std::vsnprintf(line, sizeof line, format, args);
    threadSink(line);
    return;
  }
  const bool written = std::vfprintf(stream, format, args) >= 0 &&
                       std::fputc('\n', stream) != EOF && std::fflush(stream) == 0;
  if (stream == stdout) {
    wroteStandardOutput = true;
    if (!written) lostStandardOutput = true;
  }
}

[[gnu::format(printf, 2, 3)]] void printToStream(std::FILE* stream, const char* format, ...) {
  va_list args;
  va_start(args, format);
  printTo(stream, format, args);
  va_end(args);
}

}  // namespace

void setMessageSink(MessageSink sink) { threadSink = sink; }

void printLinef(const char* format, ...) {
  va_list args;
  va_start(args, format);
  printTo(stderr, format, args);
  va_end(args);
}

void printResultLinef(const char* format, ...) {
  va_list args;
  va_start(args, format);
  printTo(stdout, format, args);
  va_end(args);
}

// A descriptor closed from the start is a failure only once a line was meant
// for it; closing it also catches errors a file system reports only then.
bool finishStandardOutput() {
  if (!wroteStandardOutput) return true;
  const bool flushed = std::fflush(stdout) == 0 && !std::ferror(stdout);
  const bool closed = std::fclose(stdout) == 0;
  return flushed && closed && !lostStandardOutput;
}

void printLine(const char* text) { printToStream(stderr, "%s", text); }

void reportCannotOpen(const char* path) { printToStream(stdout, "Can not open file [%s]", path); }

void reportInputNotOpened(const char* path) { printToStream(stderr, "Can not open file %s", path); }

void reportCannotRead(const char* path) {
  printToStream(stderr, "ERROR: Can not read file %s", path);
}

namespace {

void reportWithReason(const char* what, const char* path, int errorNumber) {
  char reason[256];
  const char* text = strerror_r(errorNumber, reason, sizeof reason);
  errno = errorNumber;
  printToStream(stderr, "ERROR: Can not %s %s: %s", what, path, text);
}

}  // namespace

void reportOutputNotOpened(const char* path, int errorNumber) {
  reportWithReason("open", path, errorNumber);
}

void reportCannotWrite(const char* path, int errorNumber) {
  reportWithReason("write", path, errorNumber);
}

void printStatusLine(const char* text) {
  if (threadSink != nullptr) return;
  std::fprintf(stderr, "\r%s\x1b[K", text);
  std::fflush(stderr);
}
