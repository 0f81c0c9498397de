#pragma once

#include <cstddef>
#include <cstdint>

namespace solution_line {

// The start of a line longer than the reader's buffer: length bytes with no
// line feed yet. Squeezes it in place to what parse needs of it (its tokens
// so far with one blank between them and their leading zeros cut to one,
// nothing after a third one) and returns the new length, at most 52, so that
// the reader's memory stays bounded however long the line. -1 when no valid
// line starts with these bytes: a token with a NUL byte, a letter that is
// not part of INF or NIL, or more than 10 digits after its leading zeros.
int64_t squeezeLongLine(char* line, size_t length);

}  // namespace solution_line
