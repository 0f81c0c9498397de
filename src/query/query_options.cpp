#include "query/query_options.h"

#include <getopt.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/graph_limits.h"

namespace {

enum LongOnly { kSources = 256, kTargets, kMatrix, kConvert, kMaxCostOption, kProgress, kNoProgress, kTies };

constexpr option kOptions[] = {{"source", required_argument, nullptr, 's'},
                               {"sources", required_argument, nullptr, kSources},
                               {"target", required_argument, nullptr, 't'},
                               {"targets", required_argument, nullptr, kTargets},
                               {"matrix", no_argument, nullptr, kMatrix},
                               {"convert", required_argument, nullptr, kConvert},
                               {"max-cost", required_argument, nullptr, kMaxCostOption},
                               {"output", required_argument, nullptr, 'o'},
                               {"format", required_argument, nullptr, 'f'},
                               {"threads", required_argument, nullptr, 'j'},
                               {"ties", required_argument, nullptr, kTies},
                               {"progress", no_argument, nullptr, kProgress},
                               {"no-progress", no_argument, nullptr, kNoProgress},
                               {"quiet", no_argument, nullptr, 'q'},
                               {"help", no_argument, nullptr, 'h'},
                               {"version", no_argument, nullptr, 'V'},
                               {nullptr, 0, nullptr, 0}};

// A whole decimal number from 0 to limit.
bool parseCount(const char* text, int64_t limit, int64_t& value) {
  if (*text < '0' || *text > '9') return false;
  errno = 0;
  char* end = nullptr;
  const long long parsed = std::strtoll(text, &end, 10);
  if (errno != 0 || *end != '\0' || parsed > limit) return false;
  value = parsed;
  return true;
}

bool usageError(const std::string& message) {
  reportUsageError(message.c_str());
  return false;
}

bool takeOption(int code, const char* name, QueryOptions& options) {
  int64_t value = 0;
  switch (code) {
    case 's':
    case 't':
      if (!parseCount(optarg, kMaxLabel, value)) {
        return usageError(std::string("invalid node number '") + optarg + "' for --" + name);
      }
      (code == 's' ? options.sources : options.targets).push_back(value);
      return true;
    case kSources:
      options.sourcesFile = optarg;
      return true;
    case kTargets:
      options.targetsFile = optarg;
      return true;
    case kMatrix:
      options.matrix = true;
      return true;
    case kConvert:
      options.convertTo = optarg;
      return true;
    case kMaxCostOption:
      if (!parseCount(optarg, INT64_MAX, value)) {
        return usageError(std::string("invalid cost '") + optarg + "' for --max-cost");
      }
      options.maxCost = value;
      return true;
    case 'o':
      options.output = optarg;
      return true;
    case 'f':
      if (!graphFormatNamed(optarg, options.format)) {
        return usageError(std::string("unknown format '") + optarg +
                          "' (auto, edges, dimacs, snap, mtx or binary)");
      }
      return true;
    case 'j':
      if (!parseCount(optarg, 4096, value) || value < 1) {
        return usageError(std::string("invalid thread count '") + optarg + "' (1 to 4096)");
      }
      options.threads = static_cast<int32_t>(value);
      return true;
    case kTies:
      if (!tieOrderNamed(optarg, options.ties)) {
        return usageError(std::string("unknown tie order '") + optarg + "' (heap or canonical)");
      }
      return true;
    case kProgress:
    case kNoProgress:
      options.progress = code == kProgress ? 1 : 0;
      return true;
    case 'q':
      options.quiet = true;
      return true;
    default:
      return false;
  }
}

// Options that only make sense together, or not at all together.
bool requestConsistent(const QueryOptions& options) {
  const bool targetsGiven = !options.targets.empty() || options.targetsFile != nullptr;
  if (options.convertTo != nullptr) {
    if (options.matrix || targetsGiven || !options.sources.empty() ||
        options.sourcesFile != nullptr || options.maxCost >= 0 || std::string(options.output) != "-") {
      return usageError("--convert takes no sources, targets, --matrix, --max-cost or --output");
    }
    return true;
  }
  if (options.matrix && !targetsGiven) {
    return usageError("--matrix needs targets (--target or --targets)");
  }
  if (options.matrix && std::string(options.output).find("{source}") != std::string::npos) {
    return usageError("--matrix writes one table: its output path takes no '{source}'");
  }
  return true;
}

const char* nameOf(int code) {
  for (const option& entry : kOptions) {
    if (entry.val == code) return entry.name;
  }
  return "?";
}

}  // namespace

QueryRequest parseQueryOptions(int argc, char** argv, QueryOptions& options) {
  opterr = 0;  // its messages would bypass ours
  optind = 1;
  bool help = false;
  bool version = false;
  int code;
  while ((code = getopt_long(argc, argv, ":s:t:o:f:j:qhV", kOptions, nullptr)) != -1) {
    if (code == 'h') {
      help = true;
    } else if (code == 'V') {
      version = true;
    } else if (code == '?' || code == ':') {
      const char* given = argv[optind - 1];
      usageError(std::string(code == ':' ? "option needs a value: " : "unknown option: ") + given);
      return QueryRequest::UsageError;
    } else if (!takeOption(code, nameOf(code), options)) {
      return QueryRequest::UsageError;
    }
  }
  if (help) return QueryRequest::Help;
  if (version) return QueryRequest::Version;
  if (optind == argc) {
    reportUsageError("no graph file given");
    return QueryRequest::UsageError;
  }
  if (optind + 1 < argc) {
    reportUsageError((std::string("one graph file only; also given: ") + argv[optind + 1]).c_str());
    return QueryRequest::UsageError;
  }
  options.graph = argv[optind];
  // Standard input can be read once only.
  const auto isStandardInput = [](const char* path) {
    return path != nullptr && std::strcmp(path, "-") == 0;
  };
  const int fromStandardInput = isStandardInput(options.graph) +
                                isStandardInput(options.sourcesFile) +
                                isStandardInput(options.targetsFile);
  if (fromStandardInput > 1) {
    reportUsageError("only one of the graph, --sources and --targets can be standard input ('-')");
    return QueryRequest::UsageError;
  }
  return requestConsistent(options) ? QueryRequest::Run : QueryRequest::UsageError;
}
