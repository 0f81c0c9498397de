#include "base/messages.h"
#include "io/output_signals.h"
#include "query/query_options.h"
#include "query/query_run.h"

namespace {

int runCommand(int argc, char** argv) {
  QueryOptions options;
  switch (parseQueryOptions(argc, argv, options)) {
    case QueryRequest::Help:
      printQueryHelp();
      return kQuerySuccess;
    case QueryRequest::Version:
      printQueryVersion();
      return kQuerySuccess;
    case QueryRequest::UsageError:
      return kQueryUsageError;
    case QueryRequest::Run:
      break;
  }
  return runQuery(options);
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that went away (head) ends the run quietly, as it ends cat.
  prepareOutputSignals(BrokenPipes::EndTheProgram);
  const int status = runCommand(argc, argv);
  if (!finishStandardOutput()) {
    printLine("ERROR: Can not write standard output");
    return kQueryFailure;
  }
  return status;
}
