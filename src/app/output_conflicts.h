#pragma once

#include "app/command_line.h"

// True when both names lead to one regular file, or, not existing yet,
// would once written.
bool sameFile(const char* first, const char* second);

// False, after "ERROR: Output file <output> is the same file as <input>" on
// standard error, when writing output would write over input.
bool outputSparesInput(const char* output, const char* input);

// False, after "ERROR: Output file <output> is the same file as <other>" on
// standard error, when the run would write over its own input graph (through
// links too), or the hash mode would write its graph and its solution to one
// file. Checked before any work, so that both files stay untouched.
bool outputsAreDistinct(const RunOptions& options);
