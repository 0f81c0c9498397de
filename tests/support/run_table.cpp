#include "support/run_table.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/process.h"

std::string withoutTimes(const std::string& text) {
  return std::regex_replace(text, std::regex("-?[0-9]+ms\n"), "Nms\n");
}

void expectRuns(const std::vector<ExpectedRun>& runs, const std::string& workDir) {
  for (const ExpectedRun& run : runs) {
    SCOPED_TRACE(testing::PrintToString(run.args));
    const ProcessResult result = runVorlinde(run.args, workDir);
    EXPECT_EQ(result.status, run.status);
    EXPECT_EQ(result.out, run.out);
    EXPECT_EQ(withoutTimes(result.err), run.err);
  }
}
