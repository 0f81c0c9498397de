#include "query/query_sources.h"

#include "base/messages.h"
#include "base/graph_limits.h"
#include "formats/line_scanner.h"
#include "io/input_file.h"

#include <cstring>

using namespace line_fields;

namespace {

// Null when the line was taken (or skipped), else why it is bad.
const char* takeLine(const char* at, const char* stop, std::vector<int64_t>& sources) {
  if (!nextField(at, stop) || *at == '#' || *at == 'c' || *at == 'p') return nullptr;
  if (*at == 's') {
    ++at;
    if (at < stop && !isBlank(*at)) return "not a node number";
    if (!nextField(at, stop)) return "not a node number";
  }
  int64_t node;
  const char* reason = readNumber(at, stop, kMaxLabel, node);
  if (reason != nullptr) return reason;
  if (nextField(at, stop)) return "one node number a line";
  sources.push_back(node);
  return nullptr;
}

}  // namespace

bool readSourcesFile(const char* path, std::vector<int64_t>& sources, const char* kind) {
  const size_t given = sources.size();
  InputFile input;
  if (!input.open(path)) return false;
  const char* reason = nullptr;
  int64_t lineNumber = 0;
  {
    LineScanner lines(input.source());
    const char* at;
    const char* stop;
    while (reason == nullptr && lines.nextLine(at, stop)) reason = takeLine(at, stop, sources);
    if (reason == nullptr) reason = lines.failure;
    lineNumber = lines.lineNumber;
  }
  input.close();
  if (reason != nullptr) {
    printLinef("ERROR: Bad %s file %s line %lld: %s", kind, path,
               static_cast<long long>(lineNumber), reason);
    return false;
  }
  // An empty list (a filter that found nothing, say) must not turn into a
  // default.
  if (sources.size() == given) {
    printLinef("ERROR: Bad %s file %s: no %s in it", kind, path,
               std::strcmp(kind, "targets") == 0 ? "target" : "source");
    return false;
  }
  return true;
}
