#pragma once

// The whole program: parses the command line, performs exactly one run on one
// solver object and returns the exit status, 0 or -1.
int runProgram(int argc, char** argv);
