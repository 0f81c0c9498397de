#pragma once

#include <cstddef>
#include <cstdint>

namespace solution_line {

// The start of a line longer than the reader's buffer: length bytes with no
// line feed yet. Squeezes it in place to what parse needs of it (its tokens
// so far with one blank between them, nothing after a third one) and returns
// the new length, so that the reader's memory stays bounded however long the
// line. -1 when no valid line starts with these bytes: a byte that is not a
// blank, a sign, a digit or a letter of INF or NIL where a token stands, or
// a token of more than 12 characters.
int64_t squeezeLongLine(char* line, size_t length);

}  // namespace solution_line
