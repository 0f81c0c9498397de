#pragma once

#include <cstdint>
#include <vector>

// Appends the node numbers of a sources file: one number a line, or DIMACS
// .ss lines "s N"; blank lines, "#" and "c" comments and "p" lines are
// skipped. False after "ERROR: Bad <kind> file <path> line <k>: <reason>",
// kind saying what the nodes are for ("sources", "targets"), or after
// "ERROR: Bad <kind> file <path>: no source in it" (or target) for a file
// without one.
bool readSourcesFile(const char* path, std::vector<int64_t>& sources, const char* kind = "sources");
