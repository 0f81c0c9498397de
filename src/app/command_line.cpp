#include "app/command_line.h"

#include <cstring>

namespace {

bool isStreamSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool hasMaxEdgeInRange(const RunOptions& options) {
  return options.nodes >= kMinRandomNodes && options.maxEdge >= kMaxEdgeFloor &&
         options.maxEdge < options.nodes && options.maxEdge <= kMaxEdgeCeiling;
}

bool validate(RunOptions& options, bool positionalSeen, const char* hashGraphFile,
              const char* hashSolutionFile) {
  switch (options.mode) {
    case RunMode::Solve:
    case RunMode::Test:
      return options.graphFile != nullptr && options.solutionFile != nullptr;
    case RunMode::Create:
      return options.graphFile != nullptr && hasMaxEdgeInRange(options);
    case RunMode::Hash:
      if (positionalSeen) return false;
      options.graphFile = hashGraphFile;
      options.solutionFile = hashSolutionFile;
      if (options.nodes == -1) return hashGraphFile != nullptr || hashSolutionFile != nullptr;
      return hasMaxEdgeInRange(options);
  }
  return false;
}

}  // namespace

bool textToInt(const char* text, int32_t& target) {
  const char* cursor = text;
  while (isStreamSpace(*cursor)) ++cursor;
  bool negative = false;
  if (*cursor == '+' || *cursor == '-') {
    negative = *cursor == '-';
    ++cursor;
  }
  if (*cursor < '0' || *cursor > '9') return false;
  int64_t magnitude = 0;
  for (; *cursor >= '0' && *cursor <= '9'; ++cursor) {
    magnitude = magnitude * 10 + (*cursor - '0');
    if (magnitude > 2147483648LL) return false;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > 2147483647LL) return false;
  target = static_cast<int32_t>(value);
  return true;
}

bool isOption(const char* argument, const char* option) { return std::strcmp(argument, option) == 0; }

bool takeOptionValue(char** argv, int argc, const char* option, const char*& value, int& index,
                     bool& error) {
  if (!isOption(argv[index], option)) return false;
  ++index;
  if (index >= argc) {
    error = true;
    return false;
  }
  value = argv[index];
  return true;
}

bool parseCommandLine(int argc, char** argv, RunOptions& options) {
  options = RunOptions{};
  const char* hashGraphFile = nullptr;
  const char* hashSolutionFile = nullptr;
  bool positionalSeen = false;
  bool error = false;

  for (int index = 1; index < argc && !error; ++index) {
    const char* value = nullptr;
    // Once a value-taking option has found no value, no other option is tried.
    auto takes = [&](const char* option) {
      return !error && takeOptionValue(argv, argc, option, value, index, error);
    };
    auto is = [&](const char* option) { return !error && isOption(argv[index], option); };

    if (takes("-c")) {
      options.mode = RunMode::Create;
      error = !textToInt(value, options.nodes);
    } else if (takes("-e")) {
      error = !textToInt(value, options.maxEdge);
    } else if (takes("-g")) {
      hashGraphFile = value;
    } else if (takes("-p")) {
      hashSolutionFile = value;
    } else if (is("-v")) {
      options.verbose = true;
    } else if (is("-l")) {
      options.useHeap = false;
    } else if (is("-t")) {
      options.mode = RunMode::Test;
    } else if (takes("-s")) {
      error = !textToInt(value, options.seed);
    } else if (is("-h")) {
      options.mode = RunMode::Hash;
    } else if (options.mode == RunMode::Hash && takes("-n")) {
      error = !textToInt(value, options.nodes);
    } else if (error) {
      break;
    } else if (options.graphFile == nullptr) {
      options.graphFile = argv[index];
      positionalSeen = true;
    } else if (options.solutionFile == nullptr) {
      options.solutionFile = argv[index];
    } else {
      return false;
    }
  }
  if (error) return false;
  return validate(options, positionalSeen, hashGraphFile, hashSolutionFile);
}
