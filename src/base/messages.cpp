#include "base/messages.h"

#include <cstdio>

void printLine(const char* text) {
  std::fputs(text, stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

void reportCannotOpen(const char* path) {
  std::printf("Can not open file [%s]\n", path);
  std::fflush(stdout);
}

void reportInputNotOpened(const char* path) {
  std::fprintf(stderr, "Can not open file %s\n", path);
  std::fflush(stderr);
}

void reportCannotRead(const char* path) {
  std::fprintf(stderr, "ERROR: Can not read file %s\n", path);
  std::fflush(stderr);
}
