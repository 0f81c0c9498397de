#include "solution/long_solution_line.h"

#include <cstring>
#include <initializer_list>

#include "solution/solution_line.h"

namespace solution_line {

namespace {

bool isWordStart(const char* token, size_t length) {
  for (const char* word : {"inf", "nil"}) {
    size_t matched = 0;
    while (matched < length && static_cast<char>(token[matched] | 0x20) == word[matched]) ++matched;
    if (matched == length) return true;
  }
  return false;
}

// Whether some valid token starts with these characters.
bool canStartToken(const char* token, size_t length) {
  if (length > kLongestToken) return false;
  if (length <= 3 && isWordStart(token, length)) return true;
  size_t digitsFrom = token[0] == '-' || token[0] == '+' ? 1 : 0;
  for (; digitsFrom < length; ++digitsFrom) {
    if (!isDigit(token[digitsFrom])) return false;
  }
  return true;
}

}  // namespace

int64_t squeezeLongLine(char* line, size_t length) {
  size_t kept = 0;
  int completeTokens = 0;
  for (size_t at = 0; at < length;) {
    if (isBlank(line[at])) {
      ++at;
      continue;
    }
    const size_t start = at;
    while (at < length && !isBlank(line[at])) ++at;
    const bool complete = at < length;
    const char* cursor = line + start;
    int32_t value = 0;
    if (complete ? !readToken(cursor, value) : !canStartToken(cursor, at - start)) return -1;
    if (kept > 0) line[kept++] = ' ';
    std::memmove(line + kept, line + start, at - start);
    kept += at - start;
    // What follows a third token is never looked at; the blank after it stays.
    if (complete && ++completeTokens == 3) {
      line[kept++] = ' ';
      return static_cast<int64_t>(kept);
    }
  }
  // A blank after the last token keeps it complete.
  if (kept > 0 && isBlank(line[length - 1])) line[kept++] = ' ';
  return static_cast<int64_t>(kept);
}

}  // namespace solution_line
