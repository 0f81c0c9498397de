#pragma once

#include <string>
#include <vector>

// One run of the binary and everything it must print.
struct ExpectedRun {
  std::vector<std::string> args;
  int status;
  std::string out;
  std::string err;  // "Nms" stands for the milliseconds of any timing line
};

// Timing lines differ from run to run; everything else must match exactly.
std::string withoutTimes(const std::string& text);

// Runs each in workDir and compares status, standard output and standard error.
void expectRuns(const std::vector<ExpectedRun>& runs, const std::string& workDir);
