#include <fcntl.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/allocation.h"
#include "base/messages.h"
#include "graph/shortest_path_solver.h"
#include "io/descriptor_io.h"
#include "solution/loaded_solution.h"
#include "solution/long_solution_line.h"
#include "solution/solution_line.h"

namespace {

// Large enough that reads are few, small enough to stay in cache while the
// lines in it are parsed. A line longer than the buffer is squeezed to what
// matters of it, so the buffer never grows.
constexpr size_t kBufferBytes = size_t{1} << 20;

void reportBadLine(const char* path, int64_t lineNumber) {
  printLinef("ERROR: Bad solution file %s line %" PRId64, path, lineNumber);
}

// Reads every line of the open file into record; false after reporting the
// first bad line or a read error.
bool readEntries(int fd, const char* path, LoadedSolution& record) {
  const size_t size = kBufferBytes;
  // One byte beyond size takes the line feed a last line may lack.
  char* buffer = static_cast<char*>(checkedMalloc(size + 1));
  size_t start = 0;     // first byte of the line not yet parsed
  size_t end = 0;       // bytes held
  size_t scanFrom = 0;  // bytes before this hold no line feed after start
  int64_t lineNumber = 0;
  bool ok = true;
  for (bool atEnd = false; !atEnd;) {
    if (start > 0) {
      std::memmove(buffer, buffer + start, end - start);
      end -= start;
      scanFrom -= start;
      start = 0;
    }
    if (end == size) {  // one line, not yet ended, fills the buffer
      const int64_t kept = solution_line::squeezeLongLine(buffer, end);
      if (kept < 0) {
        reportBadLine(path, lineNumber + 1);
        ok = false;
        break;
      }
      end = static_cast<size_t>(kept);
      scanFrom = end;
    }
    const ssize_t got = readRetrying(fd, buffer + end, size - end);
    if (got < 0) {
      reportCannotRead(path);
      ok = false;
      break;
    }
    if (got == 0) {
      atEnd = true;
      if (end > 0 && buffer[end - 1] != '\n') buffer[end++] = '\n';
    } else {
      end += static_cast<size_t>(got);
    }
    const char* lastFeed =
        static_cast<const char*>(memrchr(buffer + scanFrom, '\n', end - scanFrom));
    scanFrom = end;
    if (lastFeed == nullptr) continue;

    const char* stop = lastFeed + 1;
    const char* cursor = buffer + start;
    while (cursor < stop) {
      ++lineNumber;
      SolutionEntry entry;
      const char* next = nullptr;
      const solution_line::Kind kind = solution_line::parse(cursor, stop, next, entry);
      if (kind == solution_line::Kind::Bad) {
        reportBadLine(path, lineNumber);
        ok = false;
        break;
      }
      if (kind == solution_line::Kind::Entry) record.append(entry);
      cursor = next;
    }
    if (!ok) break;
    start = static_cast<size_t>(stop - buffer);
  }
  std::free(buffer);
  return ok;
}

}  // namespace

LoadedSolution* ShortestPathSolver::loadSolution(const char* path, int32_t capacity,
                                                 LoadedSolution& record) {
  solutionLoaded = false;
  record.prepare(capacity);
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reportInputNotOpened(path);
    return nullptr;
  }
  const bool complete = readEntries(fd, path, record);
  ::close(fd);
  if (!complete) {
    record.count = 0;
    return nullptr;
  }
  solutionLoaded = true;
  return &record;
}
