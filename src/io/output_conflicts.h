#pragma once

// True when both names lead to one regular file, or, not existing yet,
// would once written.
bool sameFile(const char* first, const char* second);

// False, after "ERROR: Output file <output> is the same file as <input>" on
// standard error, when writing output would write over input.
bool outputSparesInput(const char* output, const char* input);
