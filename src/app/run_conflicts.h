#pragma once

#include "app/command_line.h"

// False, after "ERROR: Output file <output> is the same file as <other>" on
// standard error, when the run would write over its own input graph (through
// links too), or the hash mode would write its graph and its solution to one
// file. Checked before any work, so that both files stay untouched.
bool outputsAreDistinct(const RunOptions& options);
