#include "query/query_output.h"

#include <cstring>

#include "io/decimal_format.h"
#include "io/text_writer.h"
#include "search/search_path.h"

namespace {

constexpr int32_t kWriteBufferBytes = 1 << 16;
constexpr const char* kPlaceholder = "{source}";

int32_t openOutput(TextWriter& writer, const std::string& path) {
  writer.capacity = kWriteBufferBytes;
  writer.messages = OutputMessages::Explained;
  return path == "-" ? writer.openStandardOutput() : writer.open(path.c_str());
}

// Appends value in decimal, as the writer formats numbers.
void appendNumber(std::string& text, int32_t value) {
  char digits[16 + decimal::kStoreSlack];
  text.append(digits, static_cast<size_t>(decimal::formatInt(digits, value) - digits));
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
    appendNumber(text, source);
    text += ' ';
    appendNumber(text, target);
    const NodeResult& result = solver.results[target];
    if (result.cost < 0) {
      text += " -1 -\n";
      continue;
    }
    text += ' ';
    appendNumber(text, result.cost);
    text += ' ';
    pathTo(solver, source, target, path);
    for (size_t index = 0; index < path.size(); ++index) {
      if (index > 0) text += ',';
      appendNumber(text, path[index]);
    }
    text += '\n';
  }
}

bool writeTexts(const std::string& path, const std::string* texts, size_t count) {
  TextWriter writer;
  if (openOutput(writer, path) != 0) return false;
  for (size_t index = 0; index < count; ++index) {
    writer.putBytes(texts[index].data(), texts[index].size());
  }
  return writer.close();
}
