#include "query/query_options.h"
#include "query/query_run.h"

int main(int argc, char** argv) {
  QueryOptions options;
  switch (parseQueryOptions(argc, argv, options)) {
    case QueryRequest::Help:
      printQueryHelp();
      return 0;
    case QueryRequest::Version:
      printQueryVersion();
      return 0;
    case QueryRequest::UsageError:
      return kQueryUsageError;
    case QueryRequest::Run:
      break;
  }
  return runQuery(options);
}
