#pragma once

// The lines every folder prints the same way. Each is written whole and
// flushed at once, so that messages interleave with the other stream in the
// order they happened.

// "<text>\n" on standard error.
void printLine(const char* text);

// "Can not open file [<path>]" on standard output: scripts that watch that
// stream rely on the bracketed form.
void reportCannotOpen(const char* path);

// "Can not open file <path>" on standard error: an input that cannot be opened.
void reportInputNotOpened(const char* path);

// "ERROR: Can not read file <path>" on standard error: the file opened but
// reading it failed (a folder, an I/O error).
void reportCannotRead(const char* path);
