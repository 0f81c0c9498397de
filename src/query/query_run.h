#pragma once

#include "query/query_options.h"

// Exit statuses of vorlinde-query, as command-line tools conventionally have them.
constexpr int kQuerySuccess = 0;
constexpr int kQueryFailure = 1;
constexpr int kQueryUsageError = 2;

// Reads the graph, solves every source (in parallel when asked) and writes
// the results; returns the exit status.
int runQuery(const QueryOptions& options);
