#include "io/output_signals.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace {

// Outputs open at once: one per writing thread at most. A temporary file
// beyond these is still written and committed, only not removed by a signal.
constexpr int kSlots = 64;

// Lock-free slots, because the signal handler reads them.
std::atomic<const char*> temporaryFiles[kSlots];

void removeTemporaryFiles() {
  for (auto& slot : temporaryFiles) {
    const char* path = slot.exchange(nullptr);
    if (path != nullptr) ::unlink(path);
  }
}

// SA_RESETHAND has restored the default action, so the signal raised again
// ends the process as it would have without this handler, exit status and
// core dump rules included.
void removeTemporaryFilesAndRaise(int signalNumber) {
  const int savedErrno = errno;
  removeTemporaryFiles();
  ::raise(signalNumber);
  errno = savedErrno;
}

void handleUnlessIgnored(int signalNumber) {
  struct sigaction current {};
  if (::sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = removeTemporaryFilesAndRaise;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  ::sigaction(signalNumber, &action, nullptr);
}

}  // namespace

void prepareOutputSignals(BrokenPipes brokenPipes) {
  static std::once_flag prepared;
  std::call_once(prepared, [brokenPipes] {
    ::signal(SIGXFSZ, SIG_IGN);
    if (brokenPipes == BrokenPipes::FailTheWrite) {
      ::signal(SIGPIPE, SIG_IGN);
    } else {
      handleUnlessIgnored(SIGPIPE);
    }
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) handleUnlessIgnored(signalNumber);
    std::atexit(removeTemporaryFiles);
  });
}

void rememberTemporaryFile(const char* path) {
  for (auto& slot : temporaryFiles) {
    const char* empty = nullptr;
    if (slot.compare_exchange_strong(empty, path)) return;
  }
}

void forgetTemporaryFile(const char* path) {
  for (auto& slot : temporaryFiles) {
    const char* expected = path;
    if (slot.compare_exchange_strong(expected, nullptr)) return;
  }
}
