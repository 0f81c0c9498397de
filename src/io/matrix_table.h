#pragma once

#include <cstddef>
#include <cstdint>

#include "io/text_writer.h"

// A table of costs as text, tab-separated: the line "source" followed by the
// targets, then per source a line of the source and its row of cells (-1:
// no path). Written into an open writer, which the caller closes.
void putMatrixTable(TextWriter& writer, const int32_t* sources, std::size_t sourceCount,
                    const int32_t* targets, std::size_t targetCount, const int32_t* cells);
