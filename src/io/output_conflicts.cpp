#include "io/output_conflicts.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "base/messages.h"

// Regular files only: two names for one device or FIFO (a terminal on both
// sides, say) lose nothing. Names that do not exist yet are the same file
// once written when they lead to the same place.
bool sameFile(const char* first, const char* second) {
  struct stat firstInfo {}, secondInfo {};
  const bool firstExists = ::stat(first, &firstInfo) == 0;
  const bool secondExists = ::stat(second, &secondInfo) == 0;
  if (firstExists && secondExists) {
    return S_ISREG(firstInfo.st_mode) && firstInfo.st_dev == secondInfo.st_dev &&
           firstInfo.st_ino == secondInfo.st_ino;
  }
  if (firstExists || secondExists) return false;
  bool resolved = true;
  const auto place = [&](const char* path) {
    std::error_code error;
    auto canonical = std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
    resolved = resolved && !error;
    return canonical;
  };
  const auto firstPlace = place(first);
  const auto secondPlace = place(second);
  return resolved && firstPlace == secondPlace;
}

bool outputSparesInput(const char* output, const char* input) {
  if (!sameFile(output, input)) return true;
  printLinef("ERROR: Output file %s is the same file as %s", output, input);
  return false;
}
