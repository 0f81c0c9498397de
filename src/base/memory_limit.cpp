#include <fcntl.h>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/allocation.h"

// Every figure comes from a small file of /proc or /sys, read with read(2):
// no stream, no locale, nothing allocated. A figure that cannot be had sets
// no bound.

namespace {

constexpr std::size_t kNoBound = SIZE_MAX;

// The file's first bytes as a string (empty when it cannot be read).
void readSmallFile(const char* path, char* into, std::size_t room) {
  std::size_t filled = 0;
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    for (ssize_t got; filled + 1 < room &&
                      (got = ::read(fd, into + filled, room - 1 - filled)) > 0;) {
      filled += static_cast<std::size_t>(got);
    }
    ::close(fd);
  }
  into[filled] = '\0';
}

// The decimal number at text after blanks; kNoBound when there is none
// (a control group's "max").
std::size_t numberAt(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  if (*text < '0' || *text > '9') return kNoBound;
  std::size_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value > (SIZE_MAX - 9) / 10 ? SIZE_MAX : value * 10 + static_cast<std::size_t>(*text - '0');
  }
  return value;
}

std::size_t kibibytesAfter(const char* text, const char* label) {
  const char* at = std::strstr(text, label);
  if (at == nullptr) return 0;
  const std::size_t kibibytes = numberAt(at + std::strlen(label));
  return kibibytes == kNoBound ? 0 : kibibytes;
}

// The kernel's estimate of what can be had without pushing anything out,
// and the swap that is free.
std::size_t systemAvailable() {
  char text[4096];
  readSmallFile("/proc/meminfo", text, sizeof text);
  if (std::strstr(text, "MemAvailable:") != nullptr) {
    return (kibibytesAfter(text, "MemAvailable:") + kibibytesAfter(text, "SwapFree:")) * 1024;
  }
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return kNoBound;
  return (static_cast<std::size_t>(info.freeram) + info.bufferram + info.freeswap) * info.mem_unit;
}

// ulimit -v bounds every mapping the process has, not only what it touched.
std::size_t addressSpaceLeft() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kNoBound;
  char text[128];
  readSmallFile("/proc/self/statm", text, sizeof text);
  const std::size_t pages = numberAt(text);
  const std::size_t mapped =
      pages == kNoBound ? 0 : pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return limit.rlim_cur > mapped ? limit.rlim_cur - mapped : 0;
}

// The figure of the line that starts with name in a key-value file such as
// memory.stat; 0 when there is none.
std::size_t figureOfLine(const char* text, const char* name) {
  const std::size_t length = std::strlen(name);
  for (const char* line = text; *line != '\0';) {
    if (std::strncmp(line, name, length) == 0 && line[length] == ' ') {
      const std::size_t figure = numberAt(line + length);
      return figure == kNoBound ? 0 : figure;
    }
    const char* end = std::strchr(line, '\n');
    if (end == nullptr) break;
    line = end + 1;
  }
  return 0;
}

// What the limits of the group at folder and of every group above it up to
// the hierarchy's root leave: each limit less its usage. The usage counts the
// page cache too; its inactive file pages are reclaimed before the group
// runs short, so they count as room (a graph file just read fills them).
// Limits below the process's own group do not bind it, those above do.
std::size_t groupRoom(const char* root, const char* group, const char* limitName,
                      const char* usageName, const char* reclaimableName) {
  char folder[4096];
  std::snprintf(folder, sizeof folder, "%s%s", root, group);
  const std::size_t rootLength = std::strlen(root);
  std::size_t least = kNoBound;
  for (;;) {
    char path[4200];
    char text[64];
    std::snprintf(path, sizeof path, "%s/%s", folder, limitName);
    readSmallFile(path, text, sizeof text);
    const std::size_t limit = numberAt(text);
    if (limit != kNoBound) {
      std::snprintf(path, sizeof path, "%s/%s", folder, usageName);
      readSmallFile(path, text, sizeof text);
      std::size_t usage = numberAt(text);
      if (usage != kNoBound) {
        char stat[8192];
        std::snprintf(path, sizeof path, "%s/memory.stat", folder);
        readSmallFile(path, stat, sizeof stat);
        usage -= std::min(usage, figureOfLine(stat, reclaimableName));
        least = std::min(least, limit > usage ? limit - usage : 0);
      }
    }
    char* slash = std::strrchr(folder, '/');
    if (slash == nullptr || static_cast<std::size_t>(slash - folder) < rootLength) break;
    *slash = '\0';
  }
  return least;
}

// The memory limits of the process's control groups: version 2 (alone, or
// beside version 1 under "unified") and the version 1 memory controller, at
// their usual mount points.
std::size_t controlGroupRoom() {
  char text[4096];
  readSmallFile("/proc/self/cgroup", text, sizeof text);
  std::size_t least = kNoBound;
  for (char* line = text; *line != '\0';) {
    char* end = std::strchr(line, '\n');
    if (end != nullptr) *end = '\0';
    // "id:controllers:path"
    char* controllers = std::strchr(line, ':');
    char* group = controllers == nullptr ? nullptr : std::strchr(controllers + 1, ':');
    if (group != nullptr) {
      *group++ = '\0';
      ++controllers;
      if (*controllers == '\0') {
        const bool hybrid = ::access("/sys/fs/cgroup/cgroup.controllers", F_OK) != 0;
        least = std::min(least, groupRoom(hybrid ? "/sys/fs/cgroup/unified" : "/sys/fs/cgroup",
                                          group, "memory.max", "memory.current", "inactive_file"));
      } else if (std::strstr(controllers, "memory") != nullptr) {
        least = std::min(least, groupRoom("/sys/fs/cgroup/memory", group,
                                          "memory.limit_in_bytes", "memory.usage_in_bytes",
                                          "total_inactive_file"));
      }
    }
    if (end == nullptr) break;
    line = end + 1;
  }
  return least;
}

}  // namespace

std::size_t memoryLimitBytes() {
  return std::min({systemAvailable(), addressSpaceLeft(), controlGroupRoom()});
}
