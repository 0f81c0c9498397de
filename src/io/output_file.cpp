#include "io/output_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/allocation.h"
#include "base/messages.h"
#include "io/output_signals.h"

namespace {

// The standard descriptors stay what they are: a file opened while one of
// them is closed must not take its number, or the lines meant for that
// stream would land in the file.
int aboveStandardStreams(int fd) {
  if (fd < 0 || fd > 2) return fd;
  const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
  ::close(fd);
  return moved;
}

char* copyText(const char* text) {
  const size_t length = std::strlen(text) + 1;
  char* copy = static_cast<char*>(checkedMalloc(length));
  std::memcpy(copy, text, length);
  return copy;
}

// Descriptor number of /dev/stdout, /dev/stderr, /dev/fd/N or /proc/self/fd/N;
// -1 for any other path. Opening these names again would give a new open
// file of its own (truncating a file the shell opened for appending), so
// the process writes to the descriptor it already has.
int ownDescriptor(const char* path) {
  if (std::strcmp(path, "/dev/stdout") == 0) return 1;
  if (std::strcmp(path, "/dev/stderr") == 0) return 2;
  const char* number = nullptr;
  if (std::strncmp(path, "/dev/fd/", 8) == 0) number = path + 8;
  if (std::strncmp(path, "/proc/self/fd/", 14) == 0) number = path + 14;
  if (number == nullptr || *number < '0' || *number > '9') return -1;
  char* end = nullptr;
  const long fd = std::strtol(number, &end, 10);
  return *end == '\0' && fd <= INT_MAX ? static_cast<int>(fd) : -1;
}

int duplicateForWriting(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0 && (flags & O_ACCMODE) == O_RDONLY) errno = EBADF;
  if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) return -1;
  return ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
}

// The folder holding path, as a path of its own.
char* folderOf(const char* path) {
  const char* slash = std::strrchr(path, '/');
  if (slash == nullptr) return copyText(".");
  char* folder = copyText(path);
  folder[slash == path ? 1 : slash - path] = '\0';
  return folder;
}

// The kernel's rule for protected links: a link in a sticky folder that
// anybody may write is followed only by its owner or when the folder's owner
// owns it, so that nobody can plant a link where another user will write.
bool isPlantedLink(const char* path, const struct stat& link) {
  char* folder = folderOf(path);
  struct stat info {};
  const bool shared = ::stat(folder, &info) == 0 && (info.st_mode & S_ISVTX) != 0 &&
                      (info.st_mode & S_IWOTH) != 0;
  std::free(folder);
  return shared && link.st_uid != info.st_uid && link.st_uid != ::geteuid();
}

// The name of the temporary file beside target: ".<name>.XXXXXX" in its
// folder, the name shortened so that the whole stays a valid file name.
char* temporaryNameFor(const char* target) {
  const char* slash = std::strrchr(target, '/');
  const size_t folderLength = slash == nullptr ? 0 : static_cast<size_t>(slash - target) + 1;
  const size_t nameLength = std::min<size_t>(std::strlen(target + folderLength), 200);
  char* temporary = static_cast<char*>(checkedMalloc(folderLength + nameLength + 9));
  std::memcpy(temporary, target, folderLength);
  temporary[folderLength] = '.';
  std::memcpy(temporary + folderLength + 1, target + folderLength, nameLength);
  std::memcpy(temporary + folderLength + 1 + nameLength, ".XXXXXX", 8);
  return temporary;
}

// Creates the temporary file in the folder of the target. Where the system
// allows, the file has no name until commit, so that not even SIGKILL can
// leave it behind; it is named through /proc then.
int createTemporaryFile(OutputFile& output) {
  output.temporaryPath = temporaryNameFor(output.targetPath);
  char* folder = folderOf(output.targetPath);
  int fd = ::access("/proc/self/fd", X_OK) == 0
               ? ::open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600)
               : -1;
  std::free(folder);
  output.unnamed = fd >= 0;
  if (!output.unnamed) {
    fd = ::mkostemp(output.temporaryPath, O_CLOEXEC);
    if (fd < 0) {
      std::free(output.temporaryPath);
      output.temporaryPath = nullptr;
      return -1;
    }
    rememberTemporaryFile(output.temporaryPath);
  }
  return aboveStandardStreams(fd);
}

// Gives the unnamed temporary file its name: the X's of temporaryPath
// become random letters until the name is free.
bool nameTemporaryFile(OutputFile& output) {
  char fdPath[32];
  std::snprintf(fdPath, sizeof fdPath, "/proc/self/fd/%d", static_cast<int>(output.fd));
  char* letters = output.temporaryPath + std::strlen(output.temporaryPath) - 6;
  static constexpr char kAlphabet[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[6] = {};
    if (::getrandom(random, sizeof random, 0) != sizeof random) return false;
    for (int i = 0; i < 6; ++i) letters[i] = kAlphabet[random[i] % 62];
    rememberTemporaryFile(output.temporaryPath);
    if (::linkat(AT_FDCWD, fdPath, AT_FDCWD, output.temporaryPath, AT_SYMLINK_FOLLOW) == 0) {
      return true;
    }
    forgetTemporaryFile(output.temporaryPath);
    if (errno != EEXIST) return false;
  }
  return false;
}

// A replaced file keeps its owner and permissions, as writing it in place
// would have; a new one stays private to its owner (mode 0600).
void takeOverAttributes(int fd, const struct stat& replaced) {
  // When the owner cannot be given back (only root may), the new file is the
  // writer's own; the permissions apply all the same, after the owner, since
  // a change of owner clears the set-id bits.
  [[maybe_unused]] const int ownerKept = ::fchown(fd, replaced.st_uid, replaced.st_gid);
  ::fchmod(fd, replaced.st_mode & 07777);
}

// Opens a replacement for the regular file or new name output.targetPath.
int openReplacement(OutputFile& output) {
  struct stat target {};
  const bool exists = ::stat(output.targetPath, &target) == 0;
  // A file the user may not write stays protected, as it was when outputs
  // were written in place.
  if (exists && ::faccessat(AT_FDCWD, output.targetPath, W_OK, AT_EACCESS) != 0) return -1;
  const int fd = createTemporaryFile(output);
  if (fd >= 0 && exists) takeOverAttributes(fd, target);
  return fd;
}

int openInPlace(const char* path) {
  return aboveStandardStreams(::open(path, O_WRONLY | O_NOCTTY | O_CLOEXEC));
}

void releasePaths(OutputFile& output) {
  std::free(output.temporaryPath);
  std::free(output.targetPath);
  output.temporaryPath = nullptr;
  output.unnamed = false;
  output.targetPath = nullptr;
}

// Opens the file a link points to, or refuses the link with a message.
int openThroughLink(OutputFile& output, const char* path, const struct stat& link) {
  if (isPlantedLink(path, link)) {
    printLinef("ERROR: Output file %s is a link in a shared folder that another user owns", path);
    return -2;
  }
  output.targetPath = static_cast<char*>(checkedMalloc(PATH_MAX));
  if (::realpath(path, output.targetPath) == nullptr) {
    if (errno != ENOENT) return -1;
    printLinef("ERROR: Output file %s is a link to a file that does not exist", path);
    return -2;
  }
  struct stat target {};
  if (::stat(output.targetPath, &target) != 0) return -1;
  if (S_ISDIR(target.st_mode)) {
    errno = EISDIR;
    return -1;
  }
  return S_ISREG(target.st_mode) ? openReplacement(output) : openInPlace(output.targetPath);
}

}  // namespace

int32_t openOutputFile(OutputFile& output, const char* path) {
  output = OutputFile{};
  int fd = -1;
  const int own = ownDescriptor(path);
  struct stat info {};
  if (own >= 0) {
    fd = duplicateForWriting(own);
  } else if (::lstat(path, &info) != 0) {
    if (errno == ENOENT && *path != '\0') {
      output.targetPath = copyText(path);
      fd = openReplacement(output);
    }
  } else if (S_ISLNK(info.st_mode)) {
    fd = openThroughLink(output, path, info);
  } else if (S_ISREG(info.st_mode)) {
    output.targetPath = copyText(path);
    fd = openReplacement(output);
  } else if (S_ISDIR(info.st_mode)) {
    errno = EISDIR;
  } else {
    fd = openInPlace(path);
  }
  if (fd < 0) {
    const int error = errno;
    abandonOutputFile(output);
    output.errorNumber = error;
    return fd == -1 ? -1 : -2;
  }
  output.fd = fd;
  return 0;
}

bool commitOutputFile(OutputFile& output) {
  if (output.unnamed && !nameTemporaryFile(output)) {
    const int error = errno;
    abandonOutputFile(output);
    output.errorNumber = error;
    return false;
  }
  output.unnamed = false;
  // Linux closes the descriptor even when close is interrupted.
  bool complete = ::close(output.fd) == 0 || errno == EINTR;
  output.fd = -1;
  if (output.temporaryPath != nullptr) {
    complete = complete && ::rename(output.temporaryPath, output.targetPath) == 0;
    if (!complete) {
      output.errorNumber = errno;
      ::unlink(output.temporaryPath);
    }
    forgetTemporaryFile(output.temporaryPath);
  } else if (!complete) {
    output.errorNumber = errno;
  }
  releasePaths(output);
  return complete;
}

void abandonOutputFile(OutputFile& output) {
  if (output.fd >= 0) ::close(output.fd);
  output.fd = -1;
  if (output.temporaryPath != nullptr && !output.unnamed) {
    ::unlink(output.temporaryPath);
    forgetTemporaryFile(output.temporaryPath);
  }
  releasePaths(output);
}
