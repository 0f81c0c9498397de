#include "base/messages.h"

#include <cstdarg>
#include <cstdio>

namespace {

thread_local MessageSink threadSink = nullptr;

void printTo(std::FILE* stream, const char* format, va_list args) {
  if (threadSink != nullptr) {
    char line[4096];
    std::vsnprintf(line, sizeof line, format, args);
    threadSink(line);
    return;
  }
  std::vfprintf(stream, format, args);
  std::fputc('\n', stream);
  std::fflush(stream);
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

void printLine(const char* text) { printToStream(stderr, "%s", text); }

void reportCannotOpen(const char* path) { printToStream(stdout, "Can not open file [%s]", path); }

void reportInputNotOpened(const char* path) { printToStream(stderr, "Can not open file %s", path); }

void reportCannotRead(const char* path) {
  printToStream(stderr, "ERROR: Can not read file %s", path);
}

void printOutputLine(const char* text) { printToStream(stdout, "%s", text); }

void printStatusLine(const char* text) {
  if (threadSink != nullptr) return;
  std::fprintf(stderr, "\r%s\x1b[K", text);
  std::fflush(stderr);
}
