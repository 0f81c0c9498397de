#pragma once

#include <cstdint>
#include <functional>

// Long calls into the library that Ctrl-C can stop. runStoppable runs work,
// which must not touch Python objects, without the GIL: when it is long
// (worthWatching), on a thread of its own while the calling thread wakes
// every few tens of milliseconds to let Python run its signal handlers. When
// a handler raises (KeyboardInterrupt on Ctrl-C), the work is asked to stop
// (base/stop_request.h), awaited, and the Python exception propagates;
// whatever the work made is dropped, and the graphs it used stay as they
// were. Work that is short runs on the calling thread, where Python handles
// the signal right after it. An exception of the work (a ToolFailure)
// propagates as thrown.
void runStoppable(const std::function<void()>& work, bool worthWatching = true);

// Whether work of about this many steps (nodes and edges visited) is long
// enough to be watched.
inline bool worthWatching(int64_t steps) { return steps > (int64_t{1} << 18); }
