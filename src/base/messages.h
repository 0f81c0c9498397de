#pragma once

// The lines the tool prints, in one place. Each is written whole and flushed
// at once, so that messages interleave with the other stream in the order
// they happened.
//
// A thread may send its lines elsewhere instead (setMessageSink): a caller
// that embeds the library, such as the Python module, turns them into its
// own errors rather than letting them reach the terminal.

using MessageSink = void (*)(const char* line);

// Lines of the calling thread go to sink (without their newline) instead of
// the streams; nullptr restores the streams.
void setMessageSink(MessageSink sink);

// "<formatted text>\n" on standard output: the result of a run, the checksum.
[[gnu::format(printf, 1, 2)]] void printResultLinef(const char* format, ...);

// Flushes and closes standard output at the end of the program. False when a
// line written there was lost (a full disk, a closed descriptor, a reader
// that went away), so that no run reports success for output nobody got.
bool finishStandardOutput();

// "<formatted text>\n" on standard error.
[[gnu::format(printf, 1, 2)]] void printLinef(const char* format, ...);

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

// "ERROR: Can not open <path>: <reason>" and "ERROR: Can not write <path>:
// <reason>" on standard error, the reason being the system's text for
// errorNumber; errno holds errorNumber again as the line is printed, for a
// sink that turns it into an error of its own.
void reportOutputNotOpened(const char* path, int errorNumber);
void reportCannotWrite(const char* path, int errorNumber);

// A status line on standard error that the next one overwrites ("\r", the
// text, the rest of the line erased, no newline); an empty text clears it.
// Nothing when the thread's lines go to a sink.
void printStatusLine(const char* text);
