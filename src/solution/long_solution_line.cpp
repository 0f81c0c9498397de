#include "solution/long_solution_line.h"

#include <initializer_list>

#include "solution/solution_line.h"

namespace solution_line {

namespace {

// Digits of a 32-bit number after its leading zeros.
constexpr size_t kMostDigits = 10;

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
  if (length <= 3 && isWordStart(token, length)) return true;
  size_t at = token[0] == '-' || token[0] == '+' ? 1 : 0;
  while (at < length && token[at] == '0') ++at;
  if (length - at > kMostDigits) return false;
  for (; at < length; ++at) {
    if (!isDigit(token[at])) return false;
  }
  return true;
}

// Copies the token to into (never behind it), its leading zeros cut to one:
// the copy is then at most 12 characters long and reads as the same number.
size_t copyWithoutExtraZeros(const char* token, size_t length, char* into) {
  size_t at = 0;
  size_t kept = 0;
  if (token[0] == '-' || token[0] == '+') into[kept++] = token[at++];
  if (at < length && token[at] == '0') {
    while (at < length && token[at] == '0') ++at;
    into[kept++] = '0';
  }
  while (at < length) into[kept++] = token[at++];
  return kept;
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
    kept += copyWithoutExtraZeros(line + start, at - start, line + kept);
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
