#pragma once

#include <cstdint>

#include "random/random_graph.h"

enum class RunMode { Solve, Create, Test, Hash };

// What the command line asks for. File names point into the argument vector.
struct RunOptions {
  RunMode mode = RunMode::Solve;
  bool verbose = false;
  bool useHeap = true;
  int32_t seed = -1;   // -1: draw one from the clock
  int32_t nodes = -1;  // -1: no random graph asked for
  int32_t maxEdge = 5;
  const char* graphFile = nullptr;
  const char* solutionFile = nullptr;
};


// Fills options and returns true when the command line is valid. Prints nothing.
bool parseCommandLine(int argc, char** argv, RunOptions& options);

// Writes the usage text to standard error, naming the program as typed.
void printUsage(const char* programName);

// Reads a signed 32-bit decimal as a stream extraction would: leading white
// space, optional sign, digits; the rest of the text is ignored. Fails without
// digits or outside the 32-bit range.
bool textToInt(const char* text, int32_t& target);

bool isOption(const char* argument, const char* option);

// When argv[index] is the option: advances index to its value and stores it;
// a missing value sets error and gives false. Otherwise false, nothing changed.
bool takeOptionValue(char** argv, int argc, const char* option, const char*& value, int& index,
                     bool& error);
