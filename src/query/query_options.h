#pragma once

#include <cstdint>
#include <vector>

#include "formats/graph_format.h"
#include "search/tie_order.h"

// What one vorlinde-query command line asks for.
struct QueryOptions {
  std::vector<int64_t> sources;
  const char* sourcesFile = nullptr;
  std::vector<int64_t> targets;
  const char* targetsFile = nullptr;
  bool matrix = false;              // one table of costs, a row per source and a column per target
  const char* convertTo = nullptr;  // write the graph here as a binary graph file, and nothing else
  int64_t maxCost = -1;  // -1: no limit
  const char* output = "-";
  GraphFormat format = GraphFormat::Auto;
  int32_t threads = 0;  // 0: one per core
  TieOrder ties = TieOrder::Heap;
  int progress = -1;    // -1: when standard error is a terminal
  bool quiet = false;
  const char* graph = nullptr;
};

enum class QueryRequest { Run, Help, Version, UsageError };

// Parses with getopt_long. A usage error has been reported (with a hint at
// --help) when UsageError comes back.
QueryRequest parseQueryOptions(int argc, char** argv, QueryOptions& options);

// "vorlinde-query: <message>" and the hint at --help, on standard error
// (query/query_usage.cpp, with the help text).
void reportUsageError(const char* message);
void printQueryHelp();
void printQueryVersion();
