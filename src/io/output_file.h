#pragma once

#include <cstdint>

// An output file while it is being written.
//
// A regular file (or a name that does not exist yet) is never written in
// place: the lines go to a temporary file created beside it, which replaces
// it only once every byte is written and the file closed. Whatever happens
// before that (a full disk, a file size limit, a signal, another run writing
// the same name) leaves the old file exactly as it was. There is no fsync:
// the replacement is atomic against the process failing, not against the
// machine losing power. Where the system allows it, the temporary file has
// no name until then, so that even a killed process leaves nothing behind.
//
// FIFOs, devices and the process's own descriptors (/dev/stdout, /dev/fd/N)
// are written in place, write-only and never truncated, so a reader at the
// other end sees end of file when the writer is done and `>>` appends.
struct OutputFile {
  int32_t fd = -1;
  char* temporaryPath = nullptr;  // null when the output is written in place
  char* targetPath = nullptr;     // what the temporary file replaces: the path, or its link's target
  bool unnamed = false;           // the temporary file gets its name only on commit
  int32_t errorNumber = 0;        // why the open or the commit failed (an errno value)
};

// Opens path for writing. 0 on success; -1 when it cannot be opened, with
// errorNumber saying why and nothing printed; -2 after an "ERROR: " line on
// standard error (naming path as the user gave it) for a link that is refused.
int32_t openOutputFile(OutputFile& output, const char* path);

// Closes the output and puts a temporary file in place of its target. False,
// with errorNumber saying why, when the close or the replacement failed; then
// nothing was replaced and no temporary file remains. Prints nothing.
bool commitOutputFile(OutputFile& output);

// Closes the output and removes a temporary file: the target stays as it was.
void abandonOutputFile(OutputFile& output);
