#include "query/query_output.h"

#include <cstring>

#include "io/text_writer.h"
#include "search/search_path.h"

namespace {

constexpr int32_t kWriteBufferBytes = 1 << 16;
constexpr const char* kPlaceholder = "{source}";

int32_t openOutput(TextWriter& writer, const std::string& path) {
  writer.capacity = kWriteBufferBytes;
  return path == "-" ? writer.openStandardOutput() : writer.open(path.c_str());
}

}  // namespace

bool hasSourcePlaceholder(const char* pattern) {
  return std::strstr(pattern, kPlaceholder) != nullptr;
}

std::string outputPathFor(const char* pattern, int32_t source) {
  std::string path = pattern;
  const std::string number = std::to_string(source);
  const size_t length = std::strlen(kPlaceholder);
  for (size_t at = path.find(kPlaceholder); at != std::string::npos;
       at = path.find(kPlaceholder, at + number.size())) {
    path.replace(at, length, number);
  }
  return path;
}

bool writeSolutionLines(ShortestPathSolver& solver, const std::string& path, int32_t firstNode) {
  TextWriter writer;
  if (openOutput(writer, path) != 0) return false;
  solver.putSolutionLines(writer, firstNode);
  return writer.close();
}

void appendTargetLines(const ShortestPathSolver& solver, int32_t source,
                       const std::vector<int32_t>& targets, std::string& text) {
  std::vector<int32_t> path;
  for (const int32_t target : targets) {
    text += std::to_string(source) + ' ' + std::to_string(target) + ' ';
    const NodeResult& result = solver.results[target];
    if (result.cost < 0) {
      text += "-1 -\n";
      continue;
    }
    text += std::to_string(result.cost) + ' ';
    pathTo(solver, source, target, path);
    for (size_t index = 0; index < path.size(); ++index) {
      if (index > 0) text += ',';
      text += std::to_string(path[index]);
    }
    text += '\n';
  }
}

bool writeText(const std::string& path, const std::string& text) {
  TextWriter writer;
  if (openOutput(writer, path) != 0) return false;
  writer.putBytes(text.data(), text.size());
  return writer.close();
}
