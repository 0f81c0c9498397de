#pragma once

// Signals around outputs. Failed writes must come back as errors the writer
// can report: a file over the size limit (SIGXFSZ) would otherwise end the
// process before it could say so or clean up, and so would a reader that
// went away (SIGPIPE), unless the program chooses to end quietly then. SIGINT, SIGTERM and SIGHUP still end the process as they would,
// but first remove the temporary files of outputs not yet committed; so does
// a process exit (running out of memory ends the process from anywhere).
// Signals the process was started with ignored stay ignored.

// What a reader that went away does to a program writing to it.
enum class BrokenPipes {
  // The write fails, and the program reports it (`vorlinde`: "writting error").
  FailTheWrite,
  // SIGPIPE ends the program without a word, as it ends cat or sort when
  // head has read enough; its temporary files are removed first.
  EndTheProgram,
};

// Sets up the handling above once per process; later calls do nothing. The
// commands call it as they start; the library never does, so a program that
// embeds it (the Python module) keeps its own handling of signals.
void prepareOutputSignals(BrokenPipes brokenPipes);

// path names a temporary file that a signal or exit must remove until it is
// forgotten. The string must stay valid until then. Safe from any thread.
void rememberTemporaryFile(const char* path);
void forgetTemporaryFile(const char* path);
