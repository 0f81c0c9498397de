// Argument vectors (the input split at NUL bytes) through the parser.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> words = {"vorlinde"};
  std::string word;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      words.push_back(word);
      word.clear();
    } else {
      word.push_back(static_cast<char>(data[i]));
    }
  }
  if (size > 0) words.push_back(word);
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  RunOptions options;
  if (!parseCommandLine(static_cast<int>(words.size()), argv.data(), options)) return 0;

  // What the driver relies on for each mode of a valid command line.
  switch (options.mode) {
    case RunMode::Solve:
    case RunMode::Test:
      if (options.graphFile == nullptr || options.solutionFile == nullptr) std::abort();
      break;
    case RunMode::Create:
      if (options.graphFile == nullptr || options.nodes < kMinRandomNodes ||
          options.maxEdge < kMaxEdgeFloor || options.maxEdge >= options.nodes ||
          options.maxEdge > kMaxEdgeCeiling)
        std::abort();
      break;
    case RunMode::Hash:
      if (options.nodes == -1 && options.graphFile == nullptr && options.solutionFile == nullptr)
        std::abort();
      if (options.nodes != -1 && (options.nodes < kMinRandomNodes || options.maxEdge >= options.nodes))
        std::abort();
      break;
  }
  return 0;
}
