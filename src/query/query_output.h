#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graph/shortest_path_solver.h"

// The output path of one source: every "{source}" replaced by its number.
bool hasSourcePlaceholder(const char* pattern);
std::string outputPathFor(const char* pattern, int32_t source);

// "node cost pred" lines of nodes firstNode and up into path, "-" being
// standard output. False when the file cannot be written (reported).
bool writeSolutionLines(ShortestPathSolver& solver, const std::string& path, int32_t firstNode);

// Appends one "source target cost path" line per target, the path as node
// numbers joined by commas, or "-1 -" for an unreached target.
void appendTargetLines(const ShortestPathSolver& solver, int32_t source,
                       const std::vector<int32_t>& targets, std::string& text);

// The texts, one after the other, into path ("-": standard output). False
// when they cannot be written.
bool writeTexts(const std::string& path, const std::string* texts, size_t count);
